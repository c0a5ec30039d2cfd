#include "framework/Pixels.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace
{
BITMAPINFO TopDownInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

struct Contribution
{
    int first = 0;
    std::vector<double> weights;
};

// For every target pixel along one axis: the source pixels it covers and their shares.
std::vector<Contribution> Contributions(int sourceLength, int targetLength)
{
    std::vector<Contribution> result(static_cast<std::size_t>(targetLength));
    const double step = static_cast<double>(sourceLength) / targetLength;
    for (int t = 0; t < targetLength; ++t)
    {
        const double begin = t * step;
        const double end = std::min(begin + step, static_cast<double>(sourceLength));
        Contribution& contribution = result[static_cast<std::size_t>(t)];
        contribution.first = static_cast<int>(begin);
        for (int s = contribution.first; s < sourceLength && s < end; ++s)
        {
            const double overlap = std::min(end, s + 1.0) - std::max(begin, static_cast<double>(s));
            contribution.weights.push_back(overlap / (end - begin));
        }
    }
    return result;
}

// One axis at a time: `count` lines of `sourceLength` pixels `stride` apart become lines of
// `targetLength` pixels.
std::vector<std::uint32_t> ResampleLines(const std::vector<std::uint32_t>& source, int count,
                                         int sourceLength, int targetLength, bool bAlongRows)
{
    const auto contributions = Contributions(sourceLength, targetLength);
    std::vector<std::uint32_t> target(static_cast<std::size_t>(count) * targetLength);
    for (int line = 0; line < count; ++line)
    {
        auto sourceAt = [&](int i) {
            return bAlongRows ? source[static_cast<std::size_t>(line) * sourceLength + i]
                              : source[static_cast<std::size_t>(i) * count + line];
        };
        for (int t = 0; t < targetLength; ++t)
        {
            const Contribution& c = contributions[static_cast<std::size_t>(t)];
            std::array<double, 3> sum{};
            for (std::size_t k = 0; k < c.weights.size(); ++k)
            {
                const std::uint32_t pixel = sourceAt(c.first + static_cast<int>(k));
                for (int channel = 0; channel < 3; ++channel)
                    sum[channel] += c.weights[k] * ((pixel >> (8 * channel)) & 0xFF);
            }
            std::uint32_t pixel = 0;
            for (int channel = 0; channel < 3; ++channel)
            {
                const auto value = static_cast<std::uint32_t>(std::clamp(sum[channel] + 0.5, 0.0, 255.0));
                pixel |= value << (8 * channel);
            }
            const std::size_t at = bAlongRows ? static_cast<std::size_t>(line) * targetLength + t
                                              : static_cast<std::size_t>(t) * count + line;
            target[at] = pixel;
        }
    }
    return target;
}
} // namespace

CPixels AfxReadBitmapPixels(HBITMAP bitmap)
{
    BITMAP described{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof described, &described))
        return {};
    CPixels pixels;
    pixels.width = described.bmWidth;
    pixels.height = described.bmHeight;
    pixels.data.resize(static_cast<std::size_t>(pixels.width) * pixels.height);
    BITMAPINFO info = TopDownInfo(pixels.width, pixels.height);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(pixels.height),
                                 pixels.data.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return rows == pixels.height ? pixels : CPixels{};
}

HBITMAP AfxCreateBitmapFromPixels(const CPixels& pixels)
{
    if (pixels.width <= 0 || pixels.height <= 0)
        return nullptr;
    BITMAPINFO info = TopDownInfo(pixels.width, pixels.height);
    void* pBits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (bitmap)
        std::memcpy(pBits, pixels.data.data(), pixels.data.size() * sizeof(std::uint32_t));
    return bitmap;
}

CPixels AfxResamplePixels(const CPixels& source, int width, int height)
{
    if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0)
        return {};
    CPixels result;
    result.width = width;
    result.height = height;
    const auto rows = ResampleLines(source.data, source.height, source.width, width, true);
    result.data = ResampleLines(rows, width, source.height, height, false);
    return result;
}
