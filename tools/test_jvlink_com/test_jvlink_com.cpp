// veltrix-test-jvlink.dll: an in-process COM server for the tests of the
// program's COM binding. Its one class (ProgID "VELTRIX.TestJVLink") answers
// IDispatch calls by JV-Link's method and property names, with JV-Link's way of
// passing arguments, and serves the stand-in folder named by the environment
// variable VELTRIX_TEST_JVLINK. With VELTRIX_TEST_JVLINK_NO_JVGETS=1 it has no
// JVGets, so that a client must read records as text with JVRead; with
// VELTRIX_TEST_JVLINK_DOWNLOAD=0 every file counts as downloaded already.
#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <filesystem>
#include <new>
#include <string>

#include "jvlink/standin/standin_jvlink.h"

namespace {

using veltrix::StandinJVLink;

// {6B0E8C52-3F4A-4D7B-9E21-5A6C7D8E9F10}
constexpr CLSID kClsid = {0x6b0e8c52, 0x3f4a, 0x4d7b, {0x9e, 0x21, 0x5a, 0x6c, 0x7d, 0x8e, 0x9f, 0x10}};
constexpr const wchar_t* kClsidText = L"{6B0E8C52-3F4A-4D7B-9E21-5A6C7D8E9F10}";
constexpr const wchar_t* kProgId = L"VELTRIX.TestJVLink";

HMODULE g_module = nullptr;
LONG g_liveObjects = 0;
LONG g_serverLocks = 0;

std::wstring environment(const wchar_t* name) {
    wchar_t buf[32768];
    const DWORD n = GetEnvironmentVariableW(name, buf, static_cast<DWORD>(std::size(buf)));
    return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : std::wstring();
}

bool switchOn(const wchar_t* name) {
    const std::wstring v = environment(name);
    return !v.empty() && v != L"0";
}

std::wstring widen(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(932, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(932, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string narrow(BSTR s) {
    const int length = s ? static_cast<int>(SysStringLen(s)) : 0;
    if (length == 0) return {};
    const int n = WideCharToMultiByte(932, 0, s, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(932, 0, s, length, out.data(), n, nullptr, nullptr);
    return out;
}

// Replaces the BSTR an out-argument points to.
void putBstr(BSTR* target, const std::string& text) {
    SysFreeString(*target);
    const std::wstring w = widen(text);
    *target = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

enum Dispid : DISPID {
    kInit = 1,
    kSetUIProperties,
    kOpen,
    kRTOpen,
    kStatus,
    kRead,
    kGets,
    kSkip,
    kClose,
    kMVCheck,
    kMVPlay,
    kTotalReadFilesize,
    kCurrentFileTimestamp,
};

struct Name {
    const wchar_t* name;
    DISPID id;
};
constexpr Name kNames[] = {
    {L"JVInit", kInit},       {L"JVSetUIProperties", kSetUIProperties}, {L"JVOpen", kOpen},
    {L"JVRTOpen", kRTOpen},   {L"JVStatus", kStatus},                   {L"JVRead", kRead},
    {L"JVGets", kGets},       {L"JVSkip", kSkip},                       {L"JVClose", kClose},
    {L"JVMVCheck", kMVCheck}, {L"JVMVPlay", kMVPlay},                   {L"m_TotalReadFilesize", kTotalReadFilesize},
    {L"m_CurrentFileTimestamp", kCurrentFileTimestamp},
};

// The arguments of one call in their written order (IDispatch lists them last first).
class Arguments {
public:
    Arguments(DISPPARAMS* params, UINT* badArgument) : params_(params), badArgument_(badArgument) {}
    UINT count() const { return params_->cArgs; }

    VARIANT& at(UINT i) { return params_->rgvarg[params_->cArgs - 1 - i]; }

    // An in-argument, by value or by reference, as text.
    bool text(UINT i, std::string& out) {
        VARIANT v;
        VariantInit(&v);
        if (FAILED(VariantChangeType(&v, &at(i), 0, VT_BSTR))) return fail(i);
        out = narrow(v.bstrVal);
        VariantClear(&v);
        return true;
    }

    bool number(UINT i, LONG& out) {
        VARIANT v;
        VariantInit(&v);
        if (FAILED(VariantChangeType(&v, &at(i), 0, VT_I4))) return fail(i);
        out = v.lVal;
        return true;
    }

    // Out-arguments must come by reference, of exactly the type JV-Link gives.
    LONG* numberRef(UINT i) { return at(i).vt == (VT_BYREF | VT_I4) ? at(i).plVal : failNull<LONG>(i); }
    BSTR* textRef(UINT i) { return at(i).vt == (VT_BYREF | VT_BSTR) ? at(i).pbstrVal : failNull<BSTR>(i); }
    VARIANT* variantRef(UINT i) {
        return at(i).vt == (VT_BYREF | VT_VARIANT) ? at(i).pvarVal : failNull<VARIANT>(i);
    }

private:
    bool fail(UINT i) {
        if (badArgument_) *badArgument_ = params_->cArgs - 1 - i;
        return false;
    }
    template <typename T>
    T* failNull(UINT i) {
        fail(i);
        return nullptr;
    }

    DISPPARAMS* params_;
    UINT* badArgument_;
};

void putNumber(VARIANT* result, LONG n) {
    if (!result) return;
    VariantInit(result);
    result->vt = VT_I4;
    result->lVal = n;
}

class TestJVLink final : public IDispatch {
public:
    TestJVLink()
        : jv_(std::filesystem::path(environment(L"VELTRIX_TEST_JVLINK")), options()),
          offerGets_(!switchOn(L"VELTRIX_TEST_JVLINK_NO_JVGETS")) {
        InterlockedIncrement(&g_liveObjects);
    }
    ~TestJVLink() { InterlockedDecrement(&g_liveObjects); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // No type library: callers bind by name.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!names || !ids) return E_POINTER;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            // Only the method name itself is known; it has no named arguments.
            if (i == 0)
                for (const Name& n : kNames)
                    if (_wcsicmp(names[0], n.name) == 0 && (n.id != kGets || offerGets_)) ids[0] = n.id;
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* badArgument) override {
        if (!params) return E_POINTER;
        if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
        const bool property = id == kTotalReadFilesize || id == kCurrentFileTimestamp;
        if (property ? !(flags & DISPATCH_PROPERTYGET) : !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
        if (id == kGets && !offerGets_) return DISP_E_MEMBERNOTFOUND;
        Arguments args(params, badArgument);
        const UINT expected = argumentCount(id);
        if (expected == ~0u) return DISP_E_MEMBERNOTFOUND;
        if (args.count() != expected) return DISP_E_BADPARAMCOUNT;
        return call(id, args, result);
    }

private:
    static veltrix::StandinOptions options() {
        veltrix::StandinOptions o;
        const std::wstring download = environment(L"VELTRIX_TEST_JVLINK_DOWNLOAD");
        o.simulateDownload = download != L"0";
        // A test cannot watch a player: a video "starts" when the file is there.
        o.videoOpener = [](const std::filesystem::path&) { return true; };
        return o;
    }

    static UINT argumentCount(DISPID id) {
        switch (id) {
            case kInit: case kMVCheck: case kMVPlay: return 1;
            case kRTOpen: return 2;
            case kRead: case kGets: return 3;
            case kOpen: return 6;
            case kSetUIProperties: case kStatus: case kSkip: case kClose:
            case kTotalReadFilesize: case kCurrentFileTimestamp: return 0;
            default: return ~0u;
        }
    }

    HRESULT call(DISPID id, Arguments& args, VARIANT* result) {
        std::string a, b;
        LONG n = 0;
        switch (id) {
            case kInit:
                if (!args.text(0, a)) return DISP_E_TYPEMISMATCH;
                putNumber(result, jv_.JVInit(a));
                return S_OK;
            case kSetUIProperties:
                putNumber(result, jv_.JVSetUIProperties());
                return S_OK;
            case kOpen: {
                LONG* readCount = args.numberRef(3);
                LONG* downloadCount = args.numberRef(4);
                BSTR* lastStamp = args.textRef(5);
                if (!args.text(0, a) || !args.text(1, b) || !args.number(2, n) || !readCount || !downloadCount ||
                    !lastStamp)
                    return DISP_E_TYPEMISMATCH;
                int reads = 0, downloads = 0;
                std::string stamp;
                putNumber(result, jv_.JVOpen(a, b, static_cast<int>(n), reads, downloads, stamp));
                *readCount = reads;
                *downloadCount = downloads;
                putBstr(lastStamp, stamp);
                return S_OK;
            }
            case kRTOpen:
                if (!args.text(0, a) || !args.text(1, b)) return DISP_E_TYPEMISMATCH;
                putNumber(result, jv_.JVRTOpen(a, b));
                return S_OK;
            case kStatus:
                putNumber(result, jv_.JVStatus());
                return S_OK;
            case kRead: {
                // JVRead(&buff, &size, &filename): the record as text.
                BSTR* buff = args.textRef(0);
                LONG* size = args.numberRef(1);
                BSTR* fileName = args.textRef(2);
                if (!buff || !size || !fileName) return DISP_E_TYPEMISMATCH;
                std::string record, name;
                const int r = jv_.JVRead(record, static_cast<int>(*size), name);
                putBstr(buff, record);
                putBstr(fileName, name);
                putNumber(result, r);
                return S_OK;
            }
            case kGets: {
                // JVGets(&buff, size, &filename): the record's bytes as a byte array.
                VARIANT* buff = args.variantRef(0);
                BSTR* fileName = args.textRef(2);
                if (!buff || !fileName || !args.number(1, n)) return DISP_E_TYPEMISMATCH;
                std::string record, name;
                const int r = jv_.JVRead(record, static_cast<int>(n), name);
                VariantClear(buff);
                if (r > 0) {
                    SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(record.size()));
                    if (!bytes) return E_OUTOFMEMORY;
                    void* data = nullptr;
                    SafeArrayAccessData(bytes, &data);
                    std::memcpy(data, record.data(), record.size());
                    SafeArrayUnaccessData(bytes);
                    buff->vt = VT_ARRAY | VT_UI1;
                    buff->parray = bytes;
                }
                putBstr(fileName, name);
                putNumber(result, r);
                return S_OK;
            }
            case kSkip:
                putNumber(result, jv_.JVSkip());
                return S_OK;
            case kClose:
                putNumber(result, jv_.JVClose());
                return S_OK;
            case kMVCheck:
                if (!args.text(0, a)) return DISP_E_TYPEMISMATCH;
                putNumber(result, jv_.JVMVCheck(a));
                return S_OK;
            case kMVPlay:
                if (!args.text(0, a)) return DISP_E_TYPEMISMATCH;
                putNumber(result, jv_.JVMVPlay(a));
                return S_OK;
            case kTotalReadFilesize:
                putNumber(result, static_cast<LONG>(jv_.TotalReadFilesize()));
                return S_OK;
            case kCurrentFileTimestamp:
                if (result) {
                    VariantInit(result);
                    result->vt = VT_BSTR;
                    result->bstrVal = nullptr;
                    putBstr(&result->bstrVal, jv_.CurrentFileTimeStamp());
                }
                return S_OK;
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }

    LONG refs_ = 1;
    StandinJVLink jv_;
    bool offerGets_;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is static: it lives as long as the module.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        TestJVLink* object = new (std::nothrow) TestJVLink();
        if (!object) return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            InterlockedIncrement(&g_serverLocks);
        else
            InterlockedDecrement(&g_serverLocks);
        return S_OK;
    }
};

Factory g_factory;

bool setValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY k = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG r = RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return g_liveObjects == 0 && g_serverLocks == 0 ? S_OK : S_FALSE; }

HRESULT STDAPICALLTYPE DllRegisterServer() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return SELFREG_E_CLASS;
    const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsidText;
    const bool ok = setValue(HKEY_CLASSES_ROOT, kProgId, nullptr, L"VELTRIX test JV-Link") &&
                    setValue(HKEY_CLASSES_ROOT, std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidText) &&
                    setValue(HKEY_CLASSES_ROOT, clsidKey, nullptr, L"VELTRIX test JV-Link") &&
                    setValue(HKEY_CLASSES_ROOT, clsidKey + L"\\ProgID", nullptr, kProgId) &&
                    setValue(HKEY_CLASSES_ROOT, clsidKey + L"\\InprocServer32", nullptr, path) &&
                    setValue(HKEY_CLASSES_ROOT, clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
    const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsidText;
    const LONG a = RegDeleteTreeW(HKEY_CLASSES_ROOT, clsidKey.c_str());
    const LONG b = RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    auto gone = [](LONG r) { return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND; };
    return gone(a) && gone(b) ? S_OK : SELFREG_E_CLASS;
}

}  // extern "C"
