#pragma once
// A picture as plain pixels, for the few pictures the program decodes or resamples itself.
#include <windows.h>

#include <cstdint>
#include <vector>

// 32-bit BGRX pixels, rows top-down.
struct CPixels
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> data;
};

// The pixels of a bitmap, or an empty picture when it cannot be read.
CPixels AfxReadBitmapPixels(HBITMAP bitmap);
// A 32-bit device-independent bitmap holding the pixels; null for an empty picture.
HBITMAP AfxCreateBitmapFromPixels(const CPixels& pixels);
// The picture at another size, each new pixel the average of the area of the old picture it
// covers: smooth when shrinking, without the moiré of dropped pixels.
CPixels AfxResamplePixels(const CPixels& source, int width, int height);
