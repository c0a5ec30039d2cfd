// The skin bitmaps and icons as the executable holds them: the formats the loaders expect,
// the sizes the fixed layout relies on, and the colours the controls blend in with, in each
// of the sets the artwork is drawn in for the display scales.
#include "framework/DpiScale.h"
#include "framework/PngResource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
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

// The 96-DPI set is the bitmaps; the larger ones are PNG under the same ids plus a step.
struct SkinScale
{
    int percent, dpi, idStep;
};

constexpr SkinScale kScales[] = {
    {100, 96, 0}, {125, 120, 10000}, {150, 144, 20000}, {200, 192, 30000}};
constexpr const SkinScale& kDoubleScale = kScales[3];

void PrintTo(const SkinScale& scale, std::ostream* os)
{
    *os << scale.percent << " %";
}

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

// One picture of one set as plain pixels: the 96-DPI one read from its DIB, a larger one
// decoded from its PNG as the program decodes it. A place outside the picture reads as a
// colour no picture holds, so a misplaced check fails instead of reading stray memory.
class Picture
{
public:
    Picture(int id, const SkinScale& scale)
    {
        if (scale.idStep == 0)
        {
            Dib dib(id);
            m_readable = IsReadable24BitDib(dib);
            if (!m_readable)
                return;
            m_pixels.width = dib.Width();
            m_pixels.height = dib.Height();
            for (int y = 0; y < dib.Height(); ++y)
                for (int x = 0; x < dib.Width(); ++x)
                {
                    const Rgb c = dib.At(x, y);
                    m_pixels.data.push_back(static_cast<std::uint32_t>(c.r << 16 | c.g << 8 | c.b));
                }
            return;
        }
        const int pngId = id + scale.idStep;
        if (!RawResource(pngId, L"PNG").first)
            m_readable = ::testing::AssertionFailure()
                         << "PNG " << pngId << " not in the resources";
        else if ((m_pixels = AfxLoadPngResource(pngId)).data.empty())
            m_readable = ::testing::AssertionFailure() << "PNG " << pngId << " does not decode";
    }

    const ::testing::AssertionResult& Readable() const { return m_readable; }
    int Width() const { return m_pixels.width; }
    int Height() const { return m_pixels.height; }

    Rgb At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= Width() || y >= Height())
            return {-1, -1, -1};
        const std::uint32_t p = m_pixels.data[static_cast<std::size_t>(y) * Width() + x];
        return {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF),
                static_cast<int>(p & 0xFF)};
    }

private:
    CPixels m_pixels;
    ::testing::AssertionResult m_readable = ::testing::AssertionSuccess();
};

// Decoded once: the main window's background at 200 % is a million pixels.
const Picture& PictureOf(int id, const SkinScale& scale)
{
    static std::map<int, Picture> pictures;
    const int key = id + scale.idStep;
    auto found = pictures.find(key);
    if (found == pictures.end())
        found = pictures.emplace(key, Picture(id, scale)).first;
    return found->second;
}

// The checks of one set, run for each scale; places and sizes are those of the 96-DPI layout,
// scaled by the program's own rule.
class SkinScaleTest : public ::testing::TestWithParam<SkinScale>
{
protected:
    static const Picture& Get(int id) { return PictureOf(id, GetParam()); }
    static int S(int value) { return AfxScaleTo(value, GetParam().dpi); }
};

std::string ScaleName(const ::testing::TestParamInfo<SkinScale>& info)
{
    return std::to_string(info.param.percent);
}

// The share of a picture's 2 x 2 blocks, at even places, that are not all one colour.
double ShareOfDetailedBlocks(const Picture& picture)
{
    int blocks = 0, detailed = 0;
    for (int y = 0; y + 1 < picture.Height(); y += 2)
        for (int x = 0; x + 1 < picture.Width(); x += 2)
        {
            const Rgb c = picture.At(x, y);
            ++blocks;
            detailed += !(picture.At(x + 1, y) == c && picture.At(x, y + 1) == c &&
                          picture.At(x + 1, y + 1) == c);
        }
    return blocks ? static_cast<double>(detailed) / blocks : 0;
}

// The sum of the squared steps between neighbouring pixels. An edge drawn crisp keeps its whole
// step at any size and is twice as long at twice the size, so this doubles; enlarging smoothly
// splits each step in two halves, which leaves it about where it was.
double EdgeEnergy(const Picture& picture)
{
    auto step = [](const Rgb& a, const Rgb& b) {
        return double((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) +
                      (a.b - b.b) * (a.b - b.b));
    };
    double energy = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
        {
            if (x + 1 < picture.Width())
                energy += step(picture.At(x, y), picture.At(x + 1, y));
            if (y + 1 < picture.Height())
                energy += step(picture.At(x, y), picture.At(x, y + 1));
        }
    return energy;
}

double Luminance(const Rgb& c)
{
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

bool FramesDiffer(const Picture& strip, int frameWidth, int a, int b)
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

using SkinPictures = SkinScaleTest;
INSTANTIATE_TEST_SUITE_P(Scales, SkinPictures, ::testing::ValuesIn(kScales), ScaleName);

// A strip's frames are scaled one by one, so the program can cut it into three equal frames.
TEST_P(SkinPictures, EachHasItsSizeAtTheScale)
{
    for (const auto& expected : kBitmaps)
    {
        SCOPED_TRACE(expected.id);
        const Picture& picture = Get(expected.id);
        ASSERT_TRUE(picture.Readable());
        EXPECT_EQ(picture.Width(),
                  expected.frameWidth ? 3 * S(expected.frameWidth) : S(expected.width));
        EXPECT_EQ(picture.Height(), S(expected.height));
    }
}

TEST_P(SkinPictures, ButtonStripsHoldThreeDistinctFramesSideBySide)
{
    for (const auto& expected : kBitmaps)
    {
        if (!expected.frameWidth)
            continue;
        SCOPED_TRACE(expected.id);
        const Picture& strip = Get(expected.id);
        ASSERT_TRUE(strip.Readable());
        const int fw = S(expected.frameWidth);
        EXPECT_EQ(strip.Width(), 3 * fw);
        EXPECT_TRUE(FramesDiffer(strip, fw, 0, 1)) << "pressed looks like normal";
        EXPECT_TRUE(FramesDiffer(strip, fw, 0, 2)) << "hovered looks like normal";
        EXPECT_TRUE(FramesDiffer(strip, fw, 1, 2)) << "pressed looks like hovered";
    }
}

TEST_P(SkinPictures, NoPixelIsAGreyThatLoadMap3DColorsWouldReplace)
{
    const Rgb mapped[] = {{128, 128, 128}, {192, 192, 192}, {223, 223, 223}};
    for (const auto& expected : kBitmaps)
    {
        SCOPED_TRACE(expected.id);
        const Picture& picture = Get(expected.id);
        ASSERT_TRUE(picture.Readable());
        int hits = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                for (const auto& grey : mapped)
                    if (picture.At(x, y) == grey && hits++ == 0)
                        ADD_FAILURE() << "first at (" << x << ", " << y << ")";
        EXPECT_EQ(hits, 0);
    }
}

// --- Backgrounds -----------------------------------------------------------------------------

using SkinBackgrounds = SkinScaleTest;
INSTANTIATE_TEST_SUITE_P(Scales, SkinBackgrounds, ::testing::ValuesIn(kScales), ScaleName);

TEST_P(SkinBackgrounds, PanelsAreTheDialogColourAndTheKeypadAreaItsOwn)
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
        const Picture& background = Get(s.id);
        ASSERT_TRUE(background.Readable());
        EXPECT_EQ(background.At(S(s.x), S(s.y)), s.colour);
    }
}

TEST_P(SkinBackgrounds, WhiteTextOnTheMainWindowHasADarkEnoughGround)
{
    const Picture& main = Get(3100);
    ASSERT_TRUE(main.Readable());
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
        for (int y = S(a.y); y < S(a.y + a.h); ++y)
            for (int x = S(a.x); x < S(a.x + a.w); ++x)
                brightest = std::max(brightest, Luminance(main.At(x, y)));
        EXPECT_LE(brightest, 0.30);
    }
}

// Buttons and keys have no transparency: each is painted over the background pixels it
// covers, so the pixels round its rounded corners must be those of the background there. At
// any scale the program puts it at its scaled place.
TEST_P(SkinBackgrounds, EachButtonAndKeyMatchesTheBackgroundUnderItsCorners)
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
        const Picture &strip = Get(place.strip), &background = Get(place.background);
        ASSERT_TRUE(strip.Readable());
        ASSERT_TRUE(background.Readable());
        const int fw = strip.Width() / 3, fh = strip.Height(), x = S(place.x), y = S(place.y);
        const std::pair<int, int> corners[] = {{0, 0}, {fw - 1, 0}, {0, fh - 1}, {fw - 1, fh - 1}};
        for (int frame = 0; frame < 3; ++frame)
            for (const auto& [cx, cy] : corners)
                EXPECT_EQ(strip.At(frame * fw + cx, cy), background.At(x + cx, y + cy))
                    << "frame " << frame << ", corner (" << cx << ", " << cy << ")";
    }
}

// --- List header and scroll bar --------------------------------------------------------------

using SkinListPieces = SkinScaleTest;
INSTANTIATE_TEST_SUITE_P(Scales, SkinListPieces, ::testing::ValuesIn(kScales), ScaleName);

TEST_P(SkinListPieces, HeaderAndBarArrowsShareOutlineAndRows)
{
    const Picture &header = Get(3351), &up = Get(3371), &down = Get(3374);
    ASSERT_TRUE(header.Readable());
    ASSERT_TRUE(up.Readable());
    ASSERT_TRUE(down.Readable());
    const int height = header.Height(), right = up.Width() - 1;
    EXPECT_EQ(header.At(0, 0), kPieceBorder);
    EXPECT_EQ(header.At(0, height - 1), kPieceBorder);
    for (int y = 0; y < height; ++y)
    {
        SCOPED_TRACE(y);
        EXPECT_EQ(up.At(0, y), kPieceBorder);
        EXPECT_EQ(up.At(right, y), kPieceBorder);
        EXPECT_EQ(down.At(0, y), kPieceBorder);
        EXPECT_EQ(down.At(right, y), kPieceBorder);
        // beside the arrow glyph the buttons are the header itself
        EXPECT_EQ(up.At(S(2), y), header.At(0, y));
        EXPECT_EQ(down.At(S(11), y), header.At(0, y));
    }
}

TEST_P(SkinListPieces, BarPiecesHaveTheOutlineDownBothSidesAndTheTrackTiles)
{
    for (int id : {3372, 3373, 3375, 3376})
    {
        SCOPED_TRACE(id);
        const Picture& piece = Get(id);
        ASSERT_TRUE(piece.Readable());
        for (int y = 0; y < piece.Height(); ++y)
        {
            EXPECT_EQ(piece.At(0, y), kPieceBorder);
            EXPECT_EQ(piece.At(piece.Width() - 1, y), kPieceBorder);
        }
    }
    const Picture& track = Get(3372);
    for (int y = 1; y < track.Height(); ++y)
        for (int x = 0; x < track.Width(); ++x)
            ASSERT_EQ(track.At(x, y), track.At(x, 0)) << "(" << x << ", " << y << ")";
    const Picture &top = Get(3375), &bottom = Get(3376);
    EXPECT_EQ(top.At(S(7), 0), kPieceBorder);
    EXPECT_EQ(bottom.At(S(7), bottom.Height() - 1), kPieceBorder);
}

// --- Keys at 200 % ---------------------------------------------------------------------------

// The keys are the art seen closest: at 200 % they must be drawn at that size, not be the
// 96-DPI keys enlarged, which pass every check above but look coarse or blurred. Doubling
// pixels leaves every 2 x 2 block one colour; enlarging smoothly softens the edges. Measured
// on the keys as drawn: 74 to 86 % of the blocks hold detail, and the edge energy is 2.1 to
// 2.4 times that at 100 %. Doubled pixels give no such block (and 2.0 times); bilinear,
// bicubic and Lanczos enlargements give 0.6 to 1.1 times. The bounds sit between.
TEST(SkinKeys, At200PercentAreDrawnNotBlownUp)
{
    for (int id : {3224, 3300, 3301, 3302, 3303, 3304, 3305, 3306, 3307, 3308, 3309, 3310, 3320,
                   3330, 3340})
    {
        SCOPED_TRACE(id);
        const Picture &key = PictureOf(id, kScales[0]), &drawn = PictureOf(id, kDoubleScale);
        ASSERT_TRUE(key.Readable());
        ASSERT_TRUE(drawn.Readable());
        ASSERT_EQ(drawn.Width(), 2 * key.Width());
        ASSERT_EQ(drawn.Height(), 2 * key.Height());
        EXPECT_GE(ShareOfDetailedBlocks(drawn), 0.5) << "pixels doubled";
        EXPECT_GE(EdgeEnergy(drawn) / EdgeEnergy(key), 1.5) << "enlarged smoothly";
    }
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

constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64};

int ExpectedBits(int id)
{
    return id == kApplicationIcon ? 8 : 24;
}

} // namespace

TEST(SkinIcons, EachGroupHasAnImageOfEverySizeAtItsColourDepth)
{
    for (int id : kIcons)
    {
        SCOPED_TRACE(id);
        const auto entries = GroupEntries(id);
        ASSERT_EQ(entries.size(), std::size(kIconSizes));
        for (int size : kIconSizes)
        {
            auto ofSize = [size](const auto& e) { return e.width == size && e.height == size; };
            EXPECT_EQ(std::count_if(entries.begin(), entries.end(), ofSize), 1) << size << " px";
        }
        for (const auto& e : entries)
            EXPECT_EQ(e.bitCount, ExpectedBits(id));
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

TEST(SkinIcons, EachLoadsAtEverySize)
{
    for (int id : kIcons)
    {
        for (int size : kIconSizes)
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
