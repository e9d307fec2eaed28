// Writes the program's icon file, which its resources include: the window icon's
// own artwork at every size the shell asks of a program, one 32-bit image each.
// The build runs it, so the file always shows what the window shows.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/Artwork.h"
#include "base/Handles.h"

namespace {

constexpr int kSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

#pragma pack(push, 2)
struct IconDirectory {
    WORD reserved;
    WORD type;  // 1: icons
    WORD count;
};
struct IconDirectoryEntry {
    BYTE width;  // 0 stands for 256
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitsPerPixel;
    DWORD bytes;
    DWORD offset;
};
#pragma pack(pop)

template <typename T>
void Append(std::string& bytes, const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// One image as an icon file holds it: a bottom-up 32-bit DIB of twice the height,
// its colour rows followed by the rows of an AND mask that is all clear (alpha
// alone decides what shows).
std::string IconImage(int size) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = size;
    header.biHeight = 2 * size;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    std::string image;
    Append(image, header);
    const std::vector<std::uint32_t> pixels = app::ProgramIconPixels(size);
    for (int row = size - 1; row >= 0; --row)
        image.append(reinterpret_cast<const char*>(&pixels[static_cast<std::size_t>(row) * size]),
                     static_cast<std::size_t>(size) * 4);
    const std::size_t maskStride = static_cast<std::size_t>((size + 31) / 32) * 4;
    image.append(maskStride * size, '\0');
    return image;
}

std::string IconFile() {
    std::vector<std::string> images;
    for (int size : kSizes) images.push_back(IconImage(size));
    std::string file;
    Append(file, IconDirectory{0, 1, static_cast<WORD>(images.size())});
    auto offset = static_cast<DWORD>(sizeof(IconDirectory) + images.size() * sizeof(IconDirectoryEntry));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto side = static_cast<BYTE>(kSizes[i] % 256);
        Append(file, IconDirectoryEntry{side, side, 0, 0, 1, 32, static_cast<DWORD>(images[i].size()), offset});
        offset += static_cast<DWORD>(images[i].size());
    }
    for (const std::string& image : images) file += image;
    return file;
}

// Written beside the target first, so that a failed run leaves no half-written icon behind.
bool WriteWhole(const std::wstring& path, const std::string& bytes) {
    const std::wstring part = path + L".part";
    {
        base::KernelHandle file(
            ::CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size())
            return false;
    }
    return ::MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: tool_program-icon <icon file to write>\n", stderr);
        return 2;
    }
    if (!WriteWhole(argv[1], IconFile())) {
        std::fprintf(stderr, "tool_program-icon: cannot write the icon file (error %lu)\n", ::GetLastError());
        return 1;
    }
    return 0;
}
