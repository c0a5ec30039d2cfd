// The skin bitmaps and icons as the executable holds them: the formats the loaders expect,
// the sizes the fixed layout relies on, and the colours the controls blend in with.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ostream>
#include <utility>
#include <vector>

namespace
{

struct BitmapSize
{
    int id, width, height, frameWidth; // frameWidth 0: not a button strip
};

constexpr BitmapSize kBitmaps[] = {
    {3100, 638, 431, 0}, {3101, 442, 226, 0}, {3102, 442, 316, 0}, {3103, 442, 226, 0},
    {3200, 138, 28, 46}, {3210, 177, 28, 59}, {3220, 138, 28, 46}, {3221, 138, 28, 46},
    {3222, 138, 28, 46}, {3223, 138, 28, 46}, {3224, 96, 32, 32},
    {3300, 96, 32, 32},  {3301, 96, 32, 32},  {3302, 96, 32, 32},  {3303, 96, 32, 32},
    {3304, 96, 32, 32},  {3305, 96, 32, 32},  {3306, 96, 32, 32},  {3307, 96, 32, 32},
    {3308, 96, 32, 32},  {3309, 96, 32, 32},  {3310, 96, 32, 32},  {3320, 96, 32, 32},
    {3330, 96, 32, 32},  {3340, 96, 32, 32},
    {3351, 1, 17, 0},    {3352, 2, 17, 0},    {3353, 2, 17, 0},
    {3371, 14, 17, 0},   {3372, 14, 200, 0},  {3373, 14, 37, 0},   {3374, 14, 17, 0},
    {3375, 14, 2, 0},    {3376, 14, 2, 0},
};

constexpr int kIcons[] = {999,  1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1010, 1018,
                          1021, 1026, 1033, 1037, 1041, 1043, 1049, 1055, 1056, 1059, 1068};
constexpr int kApplicationIcon = 999;

struct Rgb
{
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

void PrintTo(const Rgb& c, std::ostream* os)
{
    *os << "RGB(" << c.r << ", " << c.g << ", " << c.b << ")";
}

const Rgb kPanel{232, 232, 232};
const Rgb kKeypad{239, 235, 239};
const Rgb kPieceBorder{121, 121, 121};

std::pair<const BYTE*, DWORD> RawResource(int id, LPCWSTR type)
{
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
    if (!found)
        return {nullptr, 0};
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    return {static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(nullptr, found)};
}

// A packed DIB as the executable holds it.
class Dib
{
public:
    explicit Dib(int id)
    {
        auto [data, size] = RawResource(id, RT_BITMAP);
        m_size = size;
        if (data && size >= sizeof(BITMAPINFOHEADER))
            std::memcpy(&m_header, data, sizeof m_header);
        m_data = data;
    }

    bool Found() const { return m_data != nullptr; }
    const BITMAPINFOHEADER& Header() const { return m_header; }
    DWORD ResourceSize() const { return m_size; }
    int Width() const { return m_header.biWidth; }
    int Height() const { return m_header.biHeight; }
    DWORD Stride() const { return (static_cast<DWORD>(Width()) * 3 + 3) & ~3u; }

    // (0, 0) is the top-left pixel; rows are stored bottom-up.
    Rgb At(int x, int y) const
    {
        const BYTE* p = m_data + m_header.biSize + Stride() * (Height() - 1 - y) + x * 3;
        return {p[2], p[1], p[0]};
    }

private:
    const BYTE* m_data = nullptr;
    DWORD m_size = 0;
    BITMAPINFOHEADER m_header{};
};

// Rejects a bitmap a later check could not read safely.
::testing::AssertionResult IsReadable24BitDib(const Dib& dib)
{
    if (!dib.Found())
        return ::testing::AssertionFailure() << "not in the resources";
    const auto& h = dib.Header();
    if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biBitCount != 24 || h.biCompression != BI_RGB ||
        h.biWidth <= 0 || h.biHeight <= 0 || h.biPlanes != 1)
        return ::testing::AssertionFailure()
               << "header " << h.biSize << " bytes, " << h.biWidth << " x " << h.biHeight << ", "
               << h.biBitCount << " bits, compression " << h.biCompression;
    if (dib.ResourceSize() < h.biSize + dib.Stride() * static_cast<DWORD>(h.biHeight))
        return ::testing::AssertionFailure() << "pixels cut short: " << dib.ResourceSize() << " bytes";
    return ::testing::AssertionSuccess();
}

double Luminance(const Rgb& c)
{
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

bool FramesDiffer(const Dib& strip, int frameWidth, int a, int b)
{
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < frameWidth; ++x)
            if (!(strip.At(a * frameWidth + x, y) == strip.At(b * frameWidth + x, y)))
                return true;
    return false;
}

} // namespace

// --- Bitmaps ---------------------------------------------------------------------------------

TEST(SkinBitmaps, EachIsAnUncompressedBottomUp24BitDibOfItsSize)
{
    for (const auto& expected : kBitmaps)
    {
        SCOPED_TRACE(expected.id);
        Dib dib(expected.id);
        ASSERT_TRUE(IsReadable24BitDib(dib));
        EXPECT_EQ(dib.Width(), expected.width);
        EXPECT_EQ(dib.Height(), expected.height);
    }
}

TEST(SkinBitmaps, ButtonStripsHoldThreeDistinctFramesSideBySide)
{
    for (const auto& expected : kBitmaps)
    {
        if (!expected.frameWidth)
            continue;
        SCOPED_TRACE(expected.id);
        Dib strip(expected.id);
        ASSERT_TRUE(IsReadable24BitDib(strip));
        EXPECT_EQ(strip.Width(), 3 * expected.frameWidth);
        EXPECT_TRUE(FramesDiffer(strip, expected.frameWidth, 0, 1)) << "pressed looks like normal";
        EXPECT_TRUE(FramesDiffer(strip, expected.frameWidth, 0, 2)) << "hovered looks like normal";
        EXPECT_TRUE(FramesDiffer(strip, expected.frameWidth, 1, 2)) << "pressed looks like hovered";
    }
}

TEST(SkinBitmaps, NoPixelIsAGreyThatLoadMap3DColorsWouldReplace)
{
    const Rgb mapped[] = {{128, 128, 128}, {192, 192, 192}, {223, 223, 223}};
    for (const auto& expected : kBitmaps)
    {
        SCOPED_TRACE(expected.id);
        Dib dib(expected.id);
        ASSERT_TRUE(IsReadable24BitDib(dib));
        int hits = 0;
        for (int y = 0; y < dib.Height(); ++y)
            for (int x = 0; x < dib.Width(); ++x)
                for (const auto& grey : mapped)
                    if (dib.At(x, y) == grey && hits++ == 0)
                        ADD_FAILURE() << "first at (" << x << ", " << y << ")";
        EXPECT_EQ(hits, 0);
    }
}

// --- Backgrounds -----------------------------------------------------------------------------

TEST(SkinBackgrounds, PanelsAreTheDialogColourAndTheKeypadAreaItsOwn)
{
    struct Sample
    {
        int id, x, y;
        Rgb colour;
    };
    const Sample samples[] = {
        // main window: left of, between and below the lists; right panel beside and below
        // the results; the keypad around and between its keys
        {3100, 9, 200, kPanel},    {3100, 182, 200, kPanel},  {3100, 260, 362, kPanel},
        {3100, 370, 150, kPanel},  {3100, 629, 150, kPanel},  {3100, 500, 277, kPanel},
        {3100, 378, 300, kKeypad}, {3100, 578, 300, kKeypad}, {3100, 500, 284, kKeypad},
        {3100, 600, 352, kKeypad}, {3100, 624, 320, kKeypad},
        // dialogs, where the edit controls and labels go
        {3101, 20, 20, kPanel},    {3101, 220, 80, kPanel},   {3101, 430, 150, kPanel},
        {3102, 20, 20, kPanel},    {3102, 220, 120, kPanel},  {3102, 430, 240, kPanel},
        // About: inside the notice's frame
        {3103, 150, 30, kPanel},   {3103, 280, 80, kPanel},   {3103, 410, 140, kPanel},
    };
    for (const auto& s : samples)
    {
        SCOPED_TRACE(::testing::Message() << s.id << " at (" << s.x << ", " << s.y << ")");
        Dib dib(s.id);
        ASSERT_TRUE(IsReadable24BitDib(dib));
        EXPECT_EQ(dib.At(s.x, s.y), s.colour);
    }
}

TEST(SkinBackgrounds, WhiteTextOnTheMainWindowHasADarkEnoughGround)
{
    Dib main(3100);
    ASSERT_TRUE(IsReadable24BitDib(main));
    struct Area
    {
        const char* name;
        int x, y, w, h;
    };
    // bold white text needs a contrast of 3:1, which is a luminance of at most 0.3
    for (const Area& a : {Area{"status line", 1, 377, 636, 19}, Area{"source unit", 381, 28, 99, 21}})
    {
        SCOPED_TRACE(a.name);
        double brightest = 0;
        for (int y = a.y; y < a.y + a.h; ++y)
            for (int x = a.x; x < a.x + a.w; ++x)
                brightest = std::max(brightest, Luminance(main.At(x, y)));
        EXPECT_LE(brightest, 0.30);
    }
}

// Buttons and keys have no transparency: each is painted over the background pixels it
// covers, so the pixels round its rounded corners must be those of the background there.
TEST(SkinBackgrounds, EachButtonAndKeyMatchesTheBackgroundUnderItsCorners)
{
    struct Place
    {
        int strip, background, x, y;
    };
    const Place places[] = {
        {3200, 3101, 268, 173}, {3210, 3101, 343, 173}, {3200, 3102, 268, 263},
        {3210, 3102, 343, 263}, {3200, 3103, 208, 173},
        {3221, 3100, 11, 399},  {3222, 3100, 64, 399},  {3223, 3100, 116, 399},
        {3221, 3100, 187, 399}, {3222, 3100, 240, 399}, {3223, 3100, 292, 399},
        {3220, 3100, 568, 399}, {3224, 3100, 520, 397},
        {3301, 3100, 381, 286}, {3302, 3100, 413, 286}, {3303, 3100, 445, 286},
        {3304, 3100, 477, 286}, {3305, 3100, 509, 286}, {3306, 3100, 541, 286},
        {3307, 3100, 381, 318}, {3308, 3100, 413, 318}, {3309, 3100, 445, 318},
        {3300, 3100, 477, 318}, {3310, 3100, 509, 318}, {3320, 3100, 541, 318},
        {3340, 3100, 589, 286}, {3330, 3100, 589, 318},
    };
    for (const auto& place : places)
    {
        SCOPED_TRACE(::testing::Message() << place.strip << " on " << place.background << " at ("
                                          << place.x << ", " << place.y << ")");
        Dib strip(place.strip), background(place.background);
        ASSERT_TRUE(IsReadable24BitDib(strip));
        ASSERT_TRUE(IsReadable24BitDib(background));
        const int fw = strip.Width() / 3, fh = strip.Height();
        const std::pair<int, int> corners[] = {{0, 0}, {fw - 1, 0}, {0, fh - 1}, {fw - 1, fh - 1}};
        for (int frame = 0; frame < 3; ++frame)
            for (const auto& [cx, cy] : corners)
                EXPECT_EQ(strip.At(frame * fw + cx, cy), background.At(place.x + cx, place.y + cy))
                    << "frame " << frame << ", corner (" << cx << ", " << cy << ")";
    }
}

// --- List header and scroll bar --------------------------------------------------------------

TEST(SkinListPieces, HeaderAndBarArrowsShareOutlineAndRows)
{
    Dib header(3351), up(3371), down(3374);
    ASSERT_TRUE(IsReadable24BitDib(header));
    ASSERT_TRUE(IsReadable24BitDib(up));
    ASSERT_TRUE(IsReadable24BitDib(down));
    EXPECT_EQ(header.At(0, 0), kPieceBorder);
    EXPECT_EQ(header.At(0, 16), kPieceBorder);
    for (int y = 0; y < 17; ++y)
    {
        SCOPED_TRACE(y);
        EXPECT_EQ(up.At(0, y), kPieceBorder);
        EXPECT_EQ(up.At(13, y), kPieceBorder);
        EXPECT_EQ(down.At(0, y), kPieceBorder);
        EXPECT_EQ(down.At(13, y), kPieceBorder);
        // beside the arrow glyph the buttons are the header itself
        EXPECT_EQ(up.At(2, y), header.At(0, y));
        EXPECT_EQ(down.At(11, y), header.At(0, y));
    }
}

TEST(SkinListPieces, BarPiecesHaveTheOutlineDownBothSidesAndTheTrackTiles)
{
    for (int id : {3372, 3373, 3375, 3376})
    {
        SCOPED_TRACE(id);
        Dib piece(id);
        ASSERT_TRUE(IsReadable24BitDib(piece));
        for (int y = 0; y < piece.Height(); ++y)
        {
            EXPECT_EQ(piece.At(0, y), kPieceBorder);
            EXPECT_EQ(piece.At(13, y), kPieceBorder);
        }
    }
    Dib track(3372);
    for (int y = 1; y < track.Height(); ++y)
        for (int x = 0; x < track.Width(); ++x)
            ASSERT_EQ(track.At(x, y), track.At(x, 0)) << "(" << x << ", " << y << ")";
    Dib top(3375), bottom(3376);
    EXPECT_EQ(top.At(7, 0), kPieceBorder);
    EXPECT_EQ(bottom.At(7, 1), kPieceBorder);
}

// --- Icons -----------------------------------------------------------------------------------

namespace
{

#pragma pack(push, 2)
struct GroupIconHeader
{
    WORD reserved, type, count;
};
struct GroupIconEntry
{
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::vector<GroupIconEntry> GroupEntries(int id)
{
    auto [data, size] = RawResource(id, RT_GROUP_ICON);
    std::vector<GroupIconEntry> entries;
    if (!data || size < sizeof(GroupIconHeader))
        return entries;
    GroupIconHeader header;
    std::memcpy(&header, data, sizeof header);
    if (size < sizeof header + header.count * sizeof(GroupIconEntry))
        return entries;
    entries.resize(header.count);
    std::memcpy(entries.data(), data + sizeof header, header.count * sizeof(GroupIconEntry));
    return entries;
}

int ExpectedBits(int id)
{
    return id == kApplicationIcon ? 8 : 24;
}

} // namespace

TEST(SkinIcons, EachGroupHasA32And16PixelImageOfItsColourDepth)
{
    for (int id : kIcons)
    {
        SCOPED_TRACE(id);
        const auto entries = GroupEntries(id);
        ASSERT_EQ(entries.size(), 2u);
        bool has32 = false, has16 = false;
        for (const auto& e : entries)
        {
            has32 |= e.width == 32 && e.height == 32;
            has16 |= e.width == 16 && e.height == 16;
            EXPECT_EQ(e.bitCount, ExpectedBits(id));
        }
        EXPECT_TRUE(has32);
        EXPECT_TRUE(has16);
    }
}

// Classic entries: a BITMAPINFOHEADER of doubled height, the colour image, then the AND mask;
// where the mask makes a pixel transparent the colour image must be black, or the pixel
// would tint whatever it is drawn over.
TEST(SkinIcons, EachImageIsAClassicDibWithAMaskThatCutsOutABlackGround)
{
    for (int id : kIcons)
    {
        for (const auto& e : GroupEntries(id))
        {
            SCOPED_TRACE(::testing::Message() << id << " at " << int(e.width));
            auto [data, size] = RawResource(e.id, RT_ICON);
            ASSERT_NE(data, nullptr);
            ASSERT_GE(size, sizeof(BITMAPINFOHEADER));
            ASSERT_NE(std::memcmp(data, "\x89PNG", 4), 0) << "PNG-compressed";
            BITMAPINFOHEADER h;
            std::memcpy(&h, data, sizeof h);
            const int n = e.width;
            ASSERT_EQ(h.biSize, sizeof h);
            ASSERT_EQ(h.biWidth, n);
            ASSERT_EQ(h.biHeight, 2 * n);
            ASSERT_EQ(h.biBitCount, ExpectedBits(id));
            ASSERT_EQ(h.biCompression, DWORD(BI_RGB));

            const DWORD paletteSize = h.biBitCount <= 8 ? 4 * (h.biClrUsed ? h.biClrUsed : 1u << h.biBitCount) : 0;
            const BYTE* palette = data + h.biSize;
            const BYTE* colours = palette + paletteSize;
            const DWORD colourStride = ((n * h.biBitCount + 31) / 32) * 4;
            const BYTE* mask = colours + colourStride * n;
            const DWORD maskStride = ((n + 31) / 32) * 4;
            ASSERT_LE(h.biSize + paletteSize + (colourStride + maskStride) * n, size);

            int transparent = 0;
            for (int row = 0; row < n; ++row)
                for (int x = 0; x < n; ++x)
                {
                    if (!(mask[row * maskStride + x / 8] & (0x80 >> (x % 8))))
                        continue;
                    ++transparent;
                    const BYTE* c = h.biBitCount == 24 ? colours + row * colourStride + x * 3
                                                       : palette + 4 * colours[row * colourStride + x];
                    EXPECT_TRUE(c[0] == 0 && c[1] == 0 && c[2] == 0) << "(" << x << ", " << row << ")";
                }
            // a picture with a cut-out ground: neither all mask nor no mask
            EXPECT_GT(transparent, n * n / 20);
            EXPECT_LT(transparent, n * n * 19 / 20);
        }
    }
}

TEST(SkinIcons, EachLoadsAtBothSizes)
{
    for (int id : kIcons)
    {
        for (int size : {16, 32})
        {
            SCOPED_TRACE(::testing::Message() << id << " at " << size);
            HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            ASSERT_NE(icon, nullptr);
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(icon, &info));
            BITMAP bitmap{};
            ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size);
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            ::DeleteObject(info.hbmMask);
            ::DestroyIcon(icon);
        }
    }
}
