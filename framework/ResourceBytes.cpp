#include "framework/ResourceBytes.h"

CResourceBytes AfxFindResourceBytes(HINSTANCE hInstance, UINT nId, LPCWSTR type)
{
    HRSRC found = ::FindResourceW(hInstance, MAKEINTRESOURCEW(nId), type);
    HGLOBAL loaded = found ? ::LoadResource(hInstance, found) : nullptr;
    const auto* pBytes = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!pBytes)
        return {};
    return CResourceBytes{pBytes, ::SizeofResource(hInstance, found)};
}
