// zureader.dll: the class object of the code reader and the module's own
// registration (regsvr32), as an in-process server of the apartment model.
#include <windows.h>
#include <olectl.h>

#include <new>
#include <string>

#include "framework/code_page.h"
#include "reader/code_reader_server.h"

namespace zureader {
namespace {

HINSTANCE module_handle = nullptr;

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out)
      return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is a static object: it lives as long as the module.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (outer)
      return CLASS_E_NOAGGREGATION;
    auto* reader = new (std::nothrow) CodeReader;
    if (!reader)
      return E_OUTOFMEMORY;
    const HRESULT result = reader->QueryInterface(iid, out);
    reader->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      ++ModuleUsers();
    else
      --ModuleUsers();
    return S_OK;
  }
};

ClassFactory factory;

std::wstring ClassKey() {
  wchar_t text[64];
  StringFromGUID2(kCodeReaderClassId, text, 64);
  return std::wstring(L"CLSID\\") + text;
}

LONG SetValue(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace
}  // namespace zureader

using zureader::ClassKey;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    zureader::module_handle = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID class_id, REFIID iid, void** out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(class_id, kCodeReaderClassId))
    return CLASS_E_CLASSNOTAVAILABLE;
  return zureader::factory.QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
  return zureader::ModuleUsers() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT __stdcall DllRegisterServer() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(zureader::module_handle, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return SELFREG_E_CLASS;
  HKEY key = nullptr;
  const std::wstring server_key = ClassKey() + L"\\InprocServer32";
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, server_key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return SELFREG_E_CLASS;
  const bool ok = zureader::SetValue(key, nullptr, path) == ERROR_SUCCESS &&
                  zureader::SetValue(key, L"ThreadingModel", L"Apartment") == ERROR_SUCCESS;
  RegCloseKey(key);
  HKEY class_key = nullptr;
  if (ok && RegOpenKeyExW(HKEY_CLASSES_ROOT, ClassKey().c_str(), 0, KEY_SET_VALUE, &class_key) ==
                ERROR_SUCCESS) {
    zureader::SetValue(class_key, nullptr, L"ZU code reader");
    RegCloseKey(class_key);
  }
  return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT __stdcall DllUnregisterServer() {
  const LONG result = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
