// The platform's keyed archive format (NSKeyedArchiver): a binary property list whose $objects
// table holds plain scalars and class-tagged records linked by UIDs.
#pragma once

#include "platform/defaults.h"

namespace tidra::sim {

class KeyedArchiver : public Archiver {
  public:
    // Deterministic output; empty data for a value too deep to archive.
    Data archivedDataWithRootObject(const Value& root) override;
    // Nothing (nil) for anything that is not a well-formed archive of the supported classes.
    Value unarchiveObjectWithData(const Data& data) override;
    Value propertyListWithData(const Data& data) override;
};

}  // namespace tidra::sim
