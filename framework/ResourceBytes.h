#pragma once
// The bytes of one resource of a module, as stored; they live as long as the module.
#include <windows.h>

struct CResourceBytes
{
    const BYTE* pBytes = nullptr;
    DWORD nSize = 0;
};

// Empty when the module holds no such resource.
CResourceBytes AfxFindResourceBytes(HINSTANCE hInstance, UINT nId, LPCWSTR type);
