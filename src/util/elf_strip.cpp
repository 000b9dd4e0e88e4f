#include "util/elf_strip.hpp"

#include <elf.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vorlune::util {
namespace {

template <typename T>
bool ReadAt(std::string_view image, uint64_t offset, T* out) {
    if (offset > image.size() || image.size() - offset < sizeof(T)) return false;
    std::memcpy(out, image.data() + offset, sizeof(T));
    return true;
}

template <typename T>
void Append(std::string* out, const T& value) {
    out->append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The name starting at `offset` in a section name table ("" when outside it).
std::string_view NameAt(std::string_view names, uint64_t offset) {
    if (offset >= names.size()) return {};
    std::string_view name = names.substr(offset);
    return name.substr(0, name.find('\0'));
}

template <typename Ehdr, typename Phdr, typename Shdr>
std::optional<std::string> Strip(std::string_view image) {
    Ehdr header;
    if (!ReadAt(image, 0, &header)) return std::nullopt;
    // Extended section numbering (more than 65279 sections) is not handled.
    if (header.e_shoff == 0 || header.e_shnum == 0 || header.e_shentsize != sizeof(Shdr) ||
        header.e_shstrndx == SHN_UNDEF || header.e_shstrndx >= header.e_shnum ||
        (header.e_phnum != 0 && header.e_phentsize != sizeof(Phdr))) {
        return std::nullopt;
    }

    // Everything the loader reads: the headers and each segment's file bytes.
    uint64_t end = std::max<uint64_t>(header.e_ehsize, header.e_phoff + uint64_t{header.e_phnum} * sizeof(Phdr));
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        Phdr segment;
        if (!ReadAt(image, header.e_phoff + uint64_t{i} * sizeof(Phdr), &segment)) return std::nullopt;
        end = std::max<uint64_t>(end, uint64_t{segment.p_offset} + segment.p_filesz);
    }

    std::vector<Shdr> sections(header.e_shnum);
    for (unsigned i = 0; i < header.e_shnum; ++i) {
        if (!ReadAt(image, header.e_shoff + uint64_t{i} * sizeof(Shdr), &sections[i])) return std::nullopt;
    }
    const Shdr& nameSection = sections[header.e_shstrndx];
    if (nameSection.sh_offset > image.size() || image.size() - nameSection.sh_offset < nameSection.sh_size) {
        return std::nullopt;
    }
    std::string_view oldNames = image.substr(nameSection.sh_offset, nameSection.sh_size);

    // Keep the null section and the allocated ones, in their order.
    std::vector<uint32_t> newIndex(sections.size(), 0);
    std::vector<Shdr> kept = {sections[0]};
    for (std::size_t i = 1; i < sections.size(); ++i) {
        const Shdr& s = sections[i];
        if (!(s.sh_flags & SHF_ALLOC)) continue;
        newIndex[i] = static_cast<uint32_t>(kept.size());
        kept.push_back(s);
        if (s.sh_type != SHT_NOBITS) end = std::max<uint64_t>(end, uint64_t{s.sh_offset} + s.sh_size);
    }
    if (end > image.size()) return std::nullopt;

    std::string names(1, '\0');
    auto addName = [&names](std::string_view name) {
        auto at = static_cast<uint32_t>(names.size());
        names.append(name);
        names.push_back('\0');
        return at;
    };
    auto remap = [&newIndex](uint64_t index) { return index < newIndex.size() ? newIndex[index] : 0u; };
    for (std::size_t i = 1; i < kept.size(); ++i) {
        Shdr& s = kept[i];
        s.sh_name = addName(NameAt(oldNames, s.sh_name));
        s.sh_link = remap(s.sh_link);
        // sh_info names a section only for relocations and with SHF_INFO_LINK;
        // elsewhere it is a count or a symbol index.
        if (s.sh_type == SHT_REL || s.sh_type == SHT_RELA || (s.sh_flags & SHF_INFO_LINK)) s.sh_info = remap(s.sh_info);
    }

    std::string out(image.substr(0, end));
    Shdr nameTable{};
    nameTable.sh_name = addName(".shstrtab");
    nameTable.sh_type = SHT_STRTAB;
    nameTable.sh_offset = out.size();
    nameTable.sh_size = names.size();
    nameTable.sh_addralign = 1;
    out += names;
    out.resize((out.size() + alignof(Shdr) - 1) / alignof(Shdr) * alignof(Shdr), '\0');

    header.e_shoff = out.size();
    header.e_shstrndx = static_cast<uint16_t>(kept.size());
    header.e_shnum = static_cast<uint16_t>(kept.size() + 1);
    for (const Shdr& s : kept) Append(&out, s);
    Append(&out, nameTable);
    std::memcpy(out.data(), &header, sizeof header);
    return out;
}

}  // namespace

std::optional<std::string> StripUnloadedSections(std::string_view image) {
    if (image.size() < EI_NIDENT || image.compare(0, SELFMAG, ELFMAG) != 0) return std::nullopt;
    const int nativeOrder = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;
    if (image[EI_DATA] != nativeOrder) return std::nullopt;
    if (image[EI_CLASS] == ELFCLASS64) return Strip<Elf64_Ehdr, Elf64_Phdr, Elf64_Shdr>(image);
    if (image[EI_CLASS] == ELFCLASS32) return Strip<Elf32_Ehdr, Elf32_Phdr, Elf32_Shdr>(image);
    return std::nullopt;
}

}  // namespace vorlune::util
