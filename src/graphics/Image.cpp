// Loading pictures and drawing them pixel by pixel: plain, mirrored, in one colour and enlarged.
#include "graphics/Image.h"

#include "graphics/Utils.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{
// One draw call: which destination rectangle is covered and where each of its pixels is read.
// Destination pixel (x + i, y + j) reads source row srcY + j / scale and source column
// srcX + i / scale, or srcRight - i when mirrored (mirroring is only used unscaled).
struct Span
{
    long long x = 0;
    long long y = 0;
    long long width = 0;
    long long height = 0;
    long long srcX = 0;
    long long srcY = 0;
    long long srcRight = 0;
    long long scale = 1;
    bool flipped = false;
    bool paint = false; // write color instead of the source pixel
    Uint32 color = 0;
};

// The offsets i in [left, right) and j in [top, bottom) whose pixels land inside the destination.
struct Clip
{
    long long left;
    long long top;
    long long right;
    long long bottom;
};

class SurfaceLock
{
  public:
    explicit SurfaceLock(SDL_Surface* surface)
    {
        if (SDL_MUSTLOCK(surface))
        {
            if (SDL_LockSurface(surface) == 0)
            {
                mLocked = surface;
            }
            else
            {
                mFailed = true;
            }
        }
    }
    ~SurfaceLock()
    {
        if (mLocked)
        {
            SDL_UnlockSurface(mLocked);
        }
    }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;

    bool Failed() const { return mFailed; }

  private:
    SDL_Surface* mLocked = nullptr;
    bool mFailed = false;
};

bool ClipToSurface(const Span& span, const SDL_Surface* dest, Clip& clip)
{
    clip.left = std::max(0LL, -span.x);
    clip.top = std::max(0LL, -span.y);
    clip.right = std::min(span.width, static_cast<long long>(dest->w) - span.x);
    clip.bottom = std::min(span.height, static_cast<long long>(dest->h) - span.y);
    return clip.left < clip.right && clip.top < clip.bottom;
}

long long SourceColumn(const Span& span, long long i)
{
    return span.flipped ? span.srcRight - i : span.srcX + i / span.scale;
}

// Reads outside the source give 0, like Utils::GetPixel, also for coordinates beyond int.
Uint32 ReadSource(SDL_Surface* source, long long x, long long y)
{
    if (x < 0 || y < 0 || x >= source->w || y >= source->h)
    {
        return 0;
    }
    return Utils::GetPixel(source, static_cast<int>(x), static_cast<int>(y));
}

// Any pixel sizes, one pixel at a time.
void DrawAnySize(SDL_Surface* source, SDL_Surface* dest, const Span& span, const Clip& clip, bool hasKey,
                 Uint32 key)
{
    const bool readSource = hasKey || !span.paint;
    for (long long j = clip.top; j < clip.bottom; ++j)
    {
        const long long sy = span.srcY + j / span.scale;
        const int dy = static_cast<int>(span.y + j);
        for (long long i = clip.left; i < clip.right; ++i)
        {
            const Uint32 value = readSource ? ReadSource(source, SourceColumn(span, i), sy) : 0;
            if (hasKey && value == key)
            {
                continue;
            }
            Utils::PutPixel(dest, static_cast<int>(span.x + i), dy, span.paint ? span.color : value);
        }
    }
}

// The range [first, last) of offsets i whose source column lies inside a source of the given width.
void SourceInside(const Span& span, long long sourceWidth, const Clip& clip, long long& first,
                  long long& last)
{
    long long low;
    long long high;
    if (span.flipped)
    {
        low = span.srcRight - sourceWidth + 1;
        high = span.srcRight + 1;
    }
    else
    {
        low = std::max(0LL, -span.srcX * span.scale);
        high = std::max(0LL, (sourceWidth - span.srcX) * span.scale);
    }
    first = std::clamp(low, clip.left, clip.right);
    last = std::clamp(high, first, clip.right);
}

void FillRow(Uint32* out, long long count, Uint32 value)
{
    std::fill_n(out, count, value);
}

// Copies count pixels except those equal to key, without a branch per pixel: four at a time where the
// processor has SSE2, else one select each. Every output pixel is written, the hidden ones with their
// own value, so the ranges must not overlap.
void CopyKeyedRow(Uint32* out, const Uint32* in, long long count, Uint32 key)
{
    long long i = 0;
#if defined(__SSE2__)
    const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
    for (; i + 4 <= count; i += 4)
    {
        const __m128i value = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
        const __m128i hidden = _mm_cmpeq_epi32(value, keys);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_or_si128(_mm_and_si128(hidden, under), _mm_andnot_si128(hidden, value)));
    }
#endif
    for (; i < count; ++i)
    {
        const Uint32 value = in[i];
        out[i] = value == key ? out[i] : value;
    }
}

bool Overlap(const Uint32* out, const Uint32* in, long long count)
{
    const auto outAt = reinterpret_cast<std::uintptr_t>(out);
    const auto inAt = reinterpret_cast<std::uintptr_t>(in);
    const auto bytes = static_cast<std::uintptr_t>(count) * sizeof(Uint32);
    return outAt < inAt + bytes && inAt < outAt + bytes;
}

// 4-byte destination (and source, when it is read): rows walked with direct pointers.
void DrawFourBytes(SDL_Surface* source, SDL_Surface* dest, const Span& span, const Clip& clip, bool hasKey,
                   Uint32 key)
{
    const bool readSource = hasKey || !span.paint;
    const bool zeroHidden = hasKey && key == 0;
    const Uint32 zeroValue = span.paint ? span.color : 0;
    const long long count = clip.right - clip.left;
    long long first = clip.left;
    long long last = clip.left;
    if (readSource)
    {
        SourceInside(span, source->w, clip, first, last);
    }
    // Every pixel of a row is written when nothing is transparent, so rows that read the same
    // source row are plain copies of the one above.
    const bool rowsRepeat = !hasKey && span.scale > 1;

    Uint32* previous = nullptr;
    for (long long j = clip.top; j < clip.bottom; ++j)
    {
        Uint32* out =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(dest->pixels) + (span.y + j) * dest->pitch) +
            (span.x + clip.left);
        if (rowsRepeat && previous && (j - 1) / span.scale == j / span.scale)
        {
            std::memcpy(out, previous, static_cast<std::size_t>(count) * sizeof(Uint32));
            previous = out;
            continue;
        }
        previous = out;

        if (!readSource)
        {
            FillRow(out, count, span.color);
            continue;
        }
        const long long sy = span.srcY + j / span.scale;
        if (sy < 0 || sy >= source->h)
        {
            if (!zeroHidden)
            {
                FillRow(out, count, zeroValue);
            }
            continue;
        }
        // Columns left and right of the source read 0.
        if (!zeroHidden)
        {
            FillRow(out, first - clip.left, zeroValue);
            FillRow(out + (last - clip.left), clip.right - last, zeroValue);
        }

        const Uint32* in =
            reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(source->pixels) + sy * source->pitch);
        const long long left = clip.left;
        if (span.flipped)
        {
            for (long long i = first; i < last; ++i)
            {
                const Uint32 value = in[span.srcRight - i];
                if (!hasKey || value != key)
                {
                    out[i - left] = span.paint ? span.color : value;
                }
            }
        }
        else if (span.scale == 1)
        {
            if (!hasKey && !span.paint)
            {
                std::memmove(out + (first - left), in + (span.srcX + first),
                             static_cast<std::size_t>(last - first) * sizeof(Uint32));
            }
            else if (!span.paint && !Overlap(out + (first - left), in + (span.srcX + first), last - first))
            {
                CopyKeyedRow(out + (first - left), in + (span.srcX + first), last - first, key);
            }
            else
            {
                for (long long i = first; i < last; ++i)
                {
                    const Uint32 value = in[span.srcX + i];
                    if (!hasKey || value != key)
                    {
                        out[i - left] = span.paint ? span.color : value;
                    }
                }
            }
        }
        else if (span.scale == 2 && !hasKey && !span.paint)
        {
            // The whole-frame enlargement: each source pixel written twice.
            long long i = first;
            if (i < last && (i & 1))
            {
                out[i - left] = in[span.srcX + i / 2];
                ++i;
            }
#if defined(__SSE2__)
            // Four source pixels make eight: each unpacked beside itself.
            for (; i + 8 <= last; i += 8)
            {
                const __m128i value =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + span.srcX + i / 2));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (i - left)),
                                 _mm_unpacklo_epi32(value, value));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (i + 4 - left)),
                                 _mm_unpackhi_epi32(value, value));
            }
#endif
            for (; i + 1 < last; i += 2)
            {
                const Uint32 value = in[span.srcX + i / 2];
                out[i - left] = value;
                out[i + 1 - left] = value;
            }
            if (i < last)
            {
                out[i - left] = in[span.srcX + i / 2];
            }
        }
        else
        {
            for (long long i = first; i < last; ++i)
            {
                const Uint32 value = in[span.srcX + i / span.scale];
                if (!hasKey || value != key)
                {
                    out[i - left] = span.paint ? span.color : value;
                }
            }
        }
    }
}

void Render(SDL_Surface* source, bool hasKey, SDL_Surface* dest, const Span& span)
{
    if (!source || !dest || span.width < 1 || span.height < 1 || span.scale < 1)
    {
        return;
    }
    SurfaceLock lock(source);
    if (lock.Failed())
    {
        return;
    }
    Uint32 key = 0;
    if (hasKey)
    {
        // A surface without a key of its own leaves 0: loaded images mark transparency with 0.
        SDL_GetColorKey(source, &key);
    }
    Clip clip;
    if (!ClipToSurface(span, dest, clip))
    {
        return;
    }
    const bool readSource = hasKey || !span.paint;
    if (dest->format->BytesPerPixel == 4 && (!readSource || source->format->BytesPerPixel == 4))
    {
        DrawFourBytes(source, dest, span, clip, hasKey, key);
    }
    else
    {
        DrawAnySize(source, dest, span, clip, hasKey, key);
    }
}

Span RectangleSpan(int x, int y, int srcX, int srcY, int width, int height)
{
    Span span;
    span.x = x;
    span.y = y;
    span.width = width;
    span.height = height;
    span.srcX = srcX;
    span.srcY = srcY;
    span.srcRight = static_cast<long long>(srcX) + width - 1;
    return span;
}

// Sets the key colour on a surface; on a palette surface only when the palette holds that exact
// colour, since the nearest palette entry would make some other colour transparent.
void ApplyColorKey(SDL_Surface* surface, int r, int g, int b)
{
    if (!surface)
    {
        return;
    }
    const Uint8 red = static_cast<Uint8>(r);
    const Uint8 green = static_cast<Uint8>(g);
    const Uint8 blue = static_cast<Uint8>(b);
    const Uint32 key = SDL_MapRGB(surface->format, red, green, blue);
    if (const SDL_Palette* palette = surface->format->palette)
    {
        if (key >= static_cast<Uint32>(palette->ncolors))
        {
            return;
        }
        const SDL_Color& entry = palette->colors[key];
        if (entry.r != red || entry.g != green || entry.b != blue)
        {
            return;
        }
    }
    SDL_SetColorKey(surface, SDL_TRUE, key);
    SDL_SetSurfaceRLE(surface, 1);
}

// SDL_image 2.6 decodes a grey PNG with a transparent grey into grey and alpha byte pairs, but labels
// the surface RGB565; no other PNG comes out two bytes wide. Such pairs are rebuilt as RGBA.
SDL_Surface* RepairGreyWithAlpha(SDL_Surface* loaded)
{
    if (loaded->format->BytesPerPixel != 2 || loaded->format->palette != nullptr)
    {
        return loaded;
    }
    SDL_Surface* repaired =
        SDL_CreateRGBSurfaceWithFormat(0, loaded->w, loaded->h, 32, SDL_PIXELFORMAT_RGBA32);
    if (repaired == nullptr)
    {
        return loaded;
    }
    {
        SurfaceLock lock(loaded);
        if (lock.Failed())
        {
            SDL_FreeSurface(repaired);
            return loaded;
        }
        for (int y = 0; y < loaded->h; ++y)
        {
            const Uint8* pair =
                static_cast<const Uint8*>(loaded->pixels) + static_cast<std::ptrdiff_t>(y) * loaded->pitch;
            for (int x = 0; x < loaded->w; ++x, pair += 2)
            {
                Utils::PutPixel(repaired, x, y,
                                SDL_MapRGBA(repaired->format, pair[0], pair[0], pair[0], pair[1]));
            }
        }
    }
    SDL_FreeSurface(loaded);
    return repaired;
}

// A pixel at least half opaque is drawn in its full colour, and anything less is see-through: the one rule
// pixel-art tools apply to the soft edge a paint program saves.
constexpr Uint8 kOpaqueFrom = 128;

// The pixels of a decoded picture that must come out see-through, whatever the PNG's colour type: pixels
// less than half opaque, the picture's own transparent colour, and with colorKey the key colour (an editor
// may save it opaque in an alpha channel, where SDL's blit ignores a colour key, or twice in a palette).
// Empty when the picture is plain RGB, where the blit's colour key alone gets them right.
std::vector<bool> SeeThroughPixels(SDL_Surface* surface, bool colorKey, int r, int g, int b)
{
    Uint32 ownKey = 0;
    const bool hasOwnKey = SDL_GetColorKey(surface, &ownKey) == 0;
    if (!hasOwnKey && surface->format->palette == nullptr && surface->format->Amask == 0)
    {
        return {};
    }
    std::vector<bool> seeThrough(static_cast<std::size_t>(surface->w) * static_cast<std::size_t>(surface->h));
    SurfaceLock lock(surface);
    std::size_t at = 0;
    for (int y = 0; y < surface->h; ++y)
    {
        for (int x = 0; x < surface->w; ++x, ++at)
        {
            const Uint32 pixel = Utils::GetPixel(surface, x, y);
            Uint8 red = 0, green = 0, blue = 0, alpha = 0;
            SDL_GetRGBA(pixel, surface->format, &red, &green, &blue, &alpha);
            const bool keyColour = colorKey && red == static_cast<Uint8>(r) &&
                                   green == static_cast<Uint8>(g) && blue == static_cast<Uint8>(b);
            seeThrough[at] = (hasOwnKey && pixel == ownKey) || alpha < kOpaqueFrom || keyColour;
        }
    }
    return seeThrough;
}

// The game's pictures are PNG files, and small. SDL_image guesses a file's format from its content and
// its other decoders allocate whatever size a header claims (a GIMP header asked for petabytes), and so
// does the PNG decoder before it notices missing data: only PNG data is decoded, and a PNG whose header
// claims a huge picture is refused up front.
constexpr std::uint32_t kMaxPictureSide = 8192;
constexpr std::uint64_t kMaxPicturePixels = 16u * 1024u * 1024u;

// Opens a picture for decoding; throws "Unable to load image: ..." when it is no PNG or too large.
SDL_RWops* OpenPng(const std::string& file)
{
    SDL_RWops* stream = SDL_RWFromFile(file.c_str(), "rb");
    if (!stream)
    {
        throw std::runtime_error(std::string("Unable to load image: ") + SDL_GetError());
    }
    if (!IMG_isPNG(stream))
    {
        SDL_RWclose(stream);
        throw std::runtime_error("Unable to load image: " + file + " is not a PNG picture");
    }
    // The IHDR chunk comes first: width and height big-endian at bytes 16 to 23.
    unsigned char header[24] = {};
    const bool complete = SDL_RWread(stream, header, sizeof header, 1) == 1;
    SDL_RWseek(stream, 0, RW_SEEK_SET);
    if (complete && std::memcmp(header + 12, "IHDR", 4) == 0)
    {
        auto bigEndian = [&header](int at)
        {
            return (std::uint32_t{header[at]} << 24) | (std::uint32_t{header[at + 1]} << 16) |
                   (std::uint32_t{header[at + 2]} << 8) | std::uint32_t{header[at + 3]};
        };
        const std::uint32_t width = bigEndian(16);
        const std::uint32_t height = bigEndian(20);
        if (width > kMaxPictureSide || height > kMaxPictureSide ||
            std::uint64_t{width} * height > kMaxPicturePixels)
        {
            SDL_RWclose(stream);
            throw std::runtime_error("Unable to load image: " + file + " is too large (" +
                                     std::to_string(width) + "x" + std::to_string(height) + " pixels)");
        }
    }
    return stream;
}
} // namespace

Image::~Image()
{
    SDL_FreeSurface(mSurface);
}

bool Image::Load(const std::string& file, SDL_RendererInfo info, bool colorKey, int r, int g, int b)
{
    SDL_Surface* loaded = IMG_LoadTyped_RW(OpenPng(file), 1, "PNG");
    if (!loaded)
    {
        throw std::runtime_error(std::string("Unable to load image: ") + SDL_GetError());
    }
    loaded = RepairGreyWithAlpha(loaded);
    const std::vector<bool> seeThrough = SeeThroughPixels(loaded, colorKey, r, g, b);
    if (colorKey)
    {
        mHasColorKey = true;
        ApplyColorKey(loaded, r, g, b);
    }
    const Uint32 format = info.texture_formats[0];
    SDL_Surface* converted =
        SDL_CreateRGBSurfaceWithFormat(0, loaded->w, loaded->h, SDL_BITSPERPIXEL(format), format);
    if (!converted)
    {
        const std::string error = SDL_GetError();
        SDL_FreeSurface(loaded);
        throw std::runtime_error("Unable to load image: " + error);
    }
    // Copied, not blended onto the blank surface, which would darken partly transparent pixels. Key-coloured
    // pixels are not copied and stay 0; the result carries no key of its own.
    SDL_SetSurfaceBlendMode(loaded, SDL_BLENDMODE_NONE);
    SDL_BlitSurface(loaded, nullptr, converted, nullptr);
    SDL_FreeSurface(loaded);
    // See-through pixels become 0 and the others fully opaque (see SeeThroughPixels).
    const Uint32 opaque = converted->format->Amask;
    std::size_t at = 0;
    for (int y = 0; y < converted->h && !seeThrough.empty(); ++y)
    {
        for (int x = 0; x < converted->w; ++x, ++at)
        {
            Utils::PutPixel(converted, x, y, seeThrough[at] ? 0 : Utils::GetPixel(converted, x, y) | opaque);
        }
    }
    SDL_FreeSurface(mSurface);
    mSurface = converted;
    return true;
}

bool Image::Load(SDL_Surface* surface, int width, int height, bool colorKey, int r, int g, int b)
{
    if (!surface)
    {
        throw std::runtime_error("Unable to set image: Surface is null!");
    }
    SDL_Surface* result = surface;
    if (width != -1 && height != -1)
    {
        // The given surface is only the model of the format and stays with the caller.
        const SDL_PixelFormat* format = surface->format;
        result = SDL_CreateRGBSurface(0, width, height, format->BitsPerPixel, format->Rmask, format->Gmask,
                                      format->Bmask, format->Amask);
        if (!result)
        {
            throw std::runtime_error(std::string("Unable to set image: ") + SDL_GetError());
        }
    }
    if (colorKey)
    {
        mHasColorKey = true;
        ApplyColorKey(result, r, g, b);
    }
    if (result != mSurface)
    {
        SDL_FreeSurface(mSurface);
        mSurface = result;
    }
    return true;
}

void Image::SetColorKey(SDL_Surface* surface, int r, int g, int b)
{
    mHasColorKey = true;
    ApplyColorKey(surface, r, g, b);
}

void Image::Draw(SDL_Surface* dest, int x, int y)
{
    if (!mSurface)
    {
        return;
    }
    Render(mSurface, mHasColorKey, dest, RectangleSpan(x, y, 0, 0, mSurface->w, mSurface->h));
}

void Image::Draw(SDL_Surface* dest, int x, int y, int srcX, int srcY, int width, int height)
{
    Render(mSurface, mHasColorKey, dest, RectangleSpan(x, y, srcX, srcY, width, height));
}

void Image::Draw(SDL_Surface* dest, unsigned int color, int x, int y, int srcX, int srcY, int width,
                 int height)
{
    Span span = RectangleSpan(x, y, srcX, srcY, width, height);
    span.paint = true;
    span.color = color;
    Render(mSurface, mHasColorKey, dest, span);
}

void Image::DrawFlipped(SDL_Surface* dest, int x, int y)
{
    if (!mSurface)
    {
        return;
    }
    Span span = RectangleSpan(x, y, 0, 0, mSurface->w, mSurface->h);
    span.flipped = true;
    Render(mSurface, mHasColorKey, dest, span);
}

void Image::DrawFlipped(SDL_Surface* dest, int x, int y, int srcX, int srcY, int width, int height)
{
    Span span = RectangleSpan(x, y, srcX, srcY, width, height);
    span.flipped = true;
    Render(mSurface, mHasColorKey, dest, span);
}

void Image::DrawScaled(SDL_Surface* dest, int scale, int x, int y, int srcX, int srcY, int width, int height)
{
    if (scale < 1 || width < 1 || height < 1)
    {
        return;
    }
    Span span = RectangleSpan(x, y, srcX, srcY, width, height);
    span.scale = scale;
    span.width = static_cast<long long>(width) * scale;
    span.height = static_cast<long long>(height) * scale;
    Render(mSurface, mHasColorKey, dest, span);
}

void Image::Fill(SDL_Surface* dest, int x1, int y1, int x2, int y2, unsigned int color)
{
    if (!dest || x2 <= x1 || y2 <= y1)
    {
        return;
    }
    SurfaceLock lock(dest);
    if (lock.Failed())
    {
        return;
    }
    const int left = std::max(x1, 0);
    const int top = std::max(y1, 0);
    const int right = std::min(x2, dest->w);
    const int bottom = std::min(y2, dest->h);
    for (int y = top; y < bottom; ++y)
    {
        if (dest->format->BytesPerPixel == 4)
        {
            auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(dest->pixels) +
                                                  static_cast<std::ptrdiff_t>(y) * dest->pitch);
            std::fill(row + left, row + std::max(left, right), color);
            continue;
        }
        for (int x = left; x < right; ++x)
        {
            Utils::PutPixel(dest, x, y, color);
        }
    }
}
