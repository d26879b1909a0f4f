#include "tests/imports/PeImports.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace flagwright::testing {

namespace {
class PeFile {
public:
    explicit PeFile(const std::string& path) : path_(path)
    {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            Fail("cannot be opened");
        bytes_.assign(std::istreambuf_iterator<char>(file), {});
        if (Read(0, 2) != 0x5A4D) // "MZ"
            Fail("not a Windows program");
        pe_ = Read(0x3C, 4);
        if (Read(pe_, 4) != 0x4550) // "PE\0\0"
            Fail("no PE header");
        optional_ = pe_ + 24;
        const std::uint64_t magic = Read(optional_, 2);
        if (magic != 0x10B && magic != 0x20B)
            Fail("neither PE32 nor PE32+");
        wide_ = magic == 0x20B;
    }

    std::vector<std::string> Imports() const
    {
        std::vector<std::string> imports;
        // The data directories follow the optional header's fixed part; the second is imports.
        const std::uint64_t importTable = Offset(Read(optional_ + (wide_ ? 112 : 96) + 8, 4));
        for (std::uint64_t descriptor = importTable; Read(descriptor + 12, 4) != 0;
             descriptor += 20) {
            std::string dll = String(Offset(Read(descriptor + 12, 4)));
            std::transform(dll.begin(), dll.end(), dll.begin(),
                           [](unsigned char c) { return std::tolower(c); });
            // The lookup table, or where a linker left none the address table before binding.
            std::uint64_t lookup = Read(descriptor, 4);
            lookup = Offset(lookup != 0 ? lookup : Read(descriptor + 16, 4));
            const unsigned thunk = wide_ ? 8 : 4;
            const std::uint64_t byOrdinal = std::uint64_t{1} << (thunk * 8 - 1);
            for (std::uint64_t entry; (entry = Read(lookup, thunk)) != 0; lookup += thunk) {
                if (entry & byOrdinal)
                    imports.push_back(dll + "!#" + std::to_string(entry & 0xFFFF));
                else // past the two bytes of the hint
                    imports.push_back(dll + "!" + String(Offset(entry & 0x7FFFFFFF) + 2));
            }
        }
        return imports;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw std::runtime_error(path_ + ": " + what);
    }

    // A little-endian number of `size` bytes at a file offset.
    std::uint64_t Read(std::uint64_t at, unsigned size) const
    {
        if (at + size > bytes_.size())
            Fail("cut short");
        std::uint64_t value = 0;
        for (unsigned i = size; i-- > 0;)
            value = value << 8 | static_cast<unsigned char>(bytes_[at + i]);
        return value;
    }

    std::string String(std::uint64_t at) const
    {
        if (at >= bytes_.size())
            Fail("cut short");
        const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(at);
        const auto end = std::find(begin, bytes_.end(), '\0');
        if (end == bytes_.end())
            Fail("a name runs past the end");
        return std::string(begin, end);
    }

    // The file offset of an address relative to the image, through the section that holds it.
    std::uint64_t Offset(std::uint64_t rva) const
    {
        const std::uint64_t sections = optional_ + Read(pe_ + 20, 2);
        for (std::uint64_t i = 0, count = Read(pe_ + 6, 2); i < count; ++i) {
            const std::uint64_t section = sections + i * 40;
            const std::uint64_t start = Read(section + 12, 4);
            if (rva >= start && rva < start + std::max(Read(section + 8, 4), Read(section + 16, 4)))
                return rva - start + Read(section + 20, 4);
        }
        Fail("an address outside every section");
    }

    std::string path_;
    std::vector<char> bytes_;
    std::uint64_t pe_ = 0;
    std::uint64_t optional_ = 0;
    bool wide_ = false;
};
} // namespace

std::vector<std::string> ImportedFunctions(const std::string& path)
{
    return PeFile(path).Imports();
}

} // namespace flagwright::testing
