// Any stored version text: the gate answers, or fails with one of its own codes.
#include "platform/Failure.h"
#include "update/VersionGate.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string version(reinterpret_cast<const char*>(data), size);
    try {
        flagwright::IsUpdatableVersion(version);
    } catch (const flagwright::Failure& failure) {
        switch (failure.Number()) {
        case flagwright::failure_code::Overflow:
        case flagwright::failure_code::SubscriptOutOfRange:
        case flagwright::failure_code::TypeMismatch:
            break;
        default:
            std::abort();
        }
    }
    return 0;
}
