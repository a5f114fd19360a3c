#include "platform/system/Firmware.h"

namespace orvanta {

FirmwareVariable ReadFirmwareVariable(Firmware& firmware, const std::string& name, const std::string& vendor) {
    for (std::size_t capacity = FirstVariableCapacity;; capacity *= 2) {
        FirmwareVariable variable = firmware.readVariable(name, vendor, capacity);
        if (variable.error != InsufficientBufferError || capacity >= MostVariableCapacity) return variable;
    }
}

} // namespace orvanta
