#pragma once
// A function of a system DLL that the program needs only now and then (WinINet for the rates
// download, shell32 for the user's application data folder), looked up when it is first
// wanted. The DLL is loaded then and stays loaded, instead of being loaded with the program,
// which under Wine costs start-up time and memory. (Linker delay-loading is not used: the
// 32-bit MinGW-w64 delay-import libraries call through a null slot.)
#include <windows.h>

// Null when the DLL or the function is missing.
template <class Function> Function AfxLazyImport(const wchar_t* dll, const char* name)
{
    HMODULE module = ::LoadLibraryW(dll);
    if (!module)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
