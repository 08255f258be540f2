#include "window_picture.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr WORD kBitmapFileType = 0x4D42;  // "BM"
constexpr WORD kBitsPerPixel = 24;
constexpr LONG kRowAlignment = 4;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

LONG RowSize(LONG width) {
    const LONG bytes = width * (kBitsPerPixel / 8);
    return (bytes + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
}

// The pixels bottom-up, as a BMP file stores them.
bool CopyPixels(HWND window, LONG width, LONG height, BITMAPINFOHEADER& header, std::vector<BYTE>& pixels) {
    header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = kBitsPerPixel;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(RowSize(width) * height);
    pixels.assign(header.biSizeImage, 0);

    const HDC windowDc = GetWindowDC(window);
    const HDC memoryDc = CreateCompatibleDC(windowDc);
    const HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
    const HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    bool copied = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != FALSE;
    SelectObject(memoryDc, previous);
    copied = copied && GetDIBits(memoryDc, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                                 reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height;
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return copied;
}

}  // namespace

bool SaveWindowPicture(HWND window, const std::string& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT bounds;
    if (!GetWindowRect(window, &bounds)) return false;
    const LONG width = bounds.right - bounds.left;
    const LONG height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) return false;

    BITMAPINFOHEADER header;
    std::vector<BYTE> pixels;
    if (!CopyPixels(window, width, height, header, pixels)) return false;

    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = kBitmapFileType;
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = std::fwrite(&fileHeader, sizeof fileHeader, 1, file.get()) == 1 &&
                         std::fwrite(&header, sizeof header, 1, file.get()) == 1 &&
                         std::fwrite(pixels.data(), 1, pixels.size(), file.get()) == pixels.size();
    return std::fclose(file.release()) == 0 && written;
}
