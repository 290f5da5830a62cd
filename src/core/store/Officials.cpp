#include "core/store/Officials.h"

#include <cstring>

namespace zelmar {

TWinesRec officialRecord(const QString& name, const QString& position) {
    TWinesRec record;
    std::memset(&record, 0, sizeof record);
    record.name = name;
    record.position = position;
    return record;
}

} // namespace zelmar
