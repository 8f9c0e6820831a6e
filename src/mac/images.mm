#include "mac/images.h"

#include "mac/services.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

class MacImage final : public Image {
  public:
    MacImage(std::string name, NSImage* image) : name_(std::move(name)), image_(image) {}
    NSImage* native() const { return image_; }

    std::string name() const override { return name_; }
    Size size() const override {
        const NSSize size = [image_ size];
        return Size{size.width, size.height};
    }
    void setTemplate(bool isTemplate) override { [image_ setTemplate:isTemplate ? YES : NO]; }
    bool isTemplate() const override { return [image_ isTemplate]; }

  private:
    std::string name_;
    NSImage* image_;
};

class MacImages final : public Images {
  public:
    std::shared_ptr<Image> imageNamed(const std::string& name) override {
        NSImage* image = [NSImage imageNamed:toNSString(name)];
        if (image == nil) return nullptr;
        return std::make_shared<MacImage>(name, image);
    }
};

}  // namespace

NSImage* nativeImageOf(const Image* image) {
    const auto* native = dynamic_cast<const MacImage*>(image);
    return native != nullptr ? native->native() : nil;
}

std::unique_ptr<Images> makeImages() {
    return std::make_unique<MacImages>();
}

}  // namespace tidra::mac
