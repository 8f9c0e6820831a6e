// Images by resource name (NSImage imageNamed:).
#pragma once

#include <memory>
#include <string>

#include "platform/geometry.h"

namespace tidra {

class Image {
  public:
    virtual ~Image() = default;
    virtual std::string name() const = 0;
    virtual Size size() const = 0;
    virtual void setTemplate(bool isTemplate) = 0;
    virtual bool isTemplate() const = 0;
};

class Images {
  public:
    virtual ~Images() = default;
    // Nothing when the bundle has no image of that name.
    virtual std::shared_ptr<Image> imageNamed(const std::string& name) = 0;
};

}  // namespace tidra
