#include "framework/PngResource.h"

#include "framework/LazyImport.h"
#include "framework/ResourceBytes.h"
#include "framework/WinApp.h"

#include <wincodec.h>

namespace
{
// Releases a COM interface with itself.
template <class Interface> class CComPointer
{
public:
    CComPointer() = default;
    ~CComPointer()
    {
        if (m_p)
            m_p->Release();
    }
    CComPointer(const CComPointer&) = delete;
    CComPointer& operator=(const CComPointer&) = delete;

    Interface* operator->() const { return m_p; }
    Interface** operator&() { return &m_p; }
    operator Interface*() const { return m_p; }

private:
    Interface* m_p = nullptr;
};

// COM for one decode: initialised here unless the thread already has it.
class CComScope
{
public:
    CComScope()
    {
        using Initialize = HRESULT(WINAPI*)(LPVOID, DWORD);
        static const auto initialize = AfxLazyImport<Initialize>(L"ole32.dll", "CoInitializeEx");
        m_hResult = initialize ? initialize(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
    }
    ~CComScope()
    {
        using Uninitialize = void(WINAPI*)();
        static const auto uninitialize = AfxLazyImport<Uninitialize>(L"ole32.dll", "CoUninitialize");
        if (SUCCEEDED(m_hResult) && uninitialize)
            uninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

    // A thread that runs COM in another model keeps it, and the factory still works there.
    bool Usable() const { return SUCCEEDED(m_hResult) || m_hResult == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_hResult;
};

bool CreateFactory(IWICImagingFactory** ppFactory)
{
    using CreateInstance = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    static const auto create = AfxLazyImport<CreateInstance>(L"ole32.dll", "CoCreateInstance");
    return create && SUCCEEDED(create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory,
                                      reinterpret_cast<LPVOID*>(ppFactory)));
}

CPixels Decode(IWICImagingFactory* pFactory, const BYTE* pBytes, DWORD nBytes)
{
    CComPointer<IWICStream> stream;
    CComPointer<IWICBitmapDecoder> decoder;
    CComPointer<IWICBitmapFrameDecode> frame;
    CComPointer<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(pFactory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(pBytes), nBytes)) ||
        FAILED(pFactory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                 &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(pFactory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0)
        return {};
    CPixels pixels;
    pixels.width = static_cast<int>(width);
    pixels.height = static_cast<int>(height);
    pixels.data.resize(static_cast<std::size_t>(width) * height);
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                     reinterpret_cast<BYTE*>(pixels.data.data()))))
        return {};
    return pixels;
}
} // namespace

CPixels AfxLoadPngResource(UINT id)
{
    const CResourceBytes png = AfxFindResourceBytes(AfxGetInstanceHandle(), id, L"PNG");
    if (!png.nSize)
        return {};
    CComScope com;
    CComPointer<IWICImagingFactory> factory;
    if (!com.Usable() || !CreateFactory(&factory))
        return {};
    return Decode(factory, png.pBytes, png.nSize);
}
