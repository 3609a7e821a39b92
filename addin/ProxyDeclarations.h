/* widl's proxy code names rpcrt4's IUnknown proxies, which mingw-w64's rpcproxy.h
   does not declare. Included ahead of the generated proxy file. */
#pragma once
#include <rpcproxy.h>

HRESULT STDMETHODCALLTYPE IUnknown_QueryInterface_Proxy(IUnknown* This, REFIID riid, void** ppvObject);
ULONG STDMETHODCALLTYPE IUnknown_AddRef_Proxy(IUnknown* This);
ULONG STDMETHODCALLTYPE IUnknown_Release_Proxy(IUnknown* This);
