#include "jvlink/com_jvlink.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <vector>

namespace veltrix {

namespace {

constexpr UINT kCp932 = 932;

std::wstring widen(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(kCp932, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(kCp932, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

// JVRead hands a record over as text; code page 932 gives back the bytes it was made from.
std::string narrow(const wchar_t* s, std::size_t length) {
    if (!s || length == 0) return {};
    const int n = WideCharToMultiByte(kCp932, 0, s, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(kCp932, 0, s, static_cast<int>(length), out.data(), n, nullptr, nullptr);
    return out;
}

std::string narrow(BSTR s) { return narrow(s, s ? SysStringLen(s) : 0); }

std::string hex(HRESULT hr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(hr));
    return buf;
}

// A BSTR that lives for one call and may be handed out by reference.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::string& s) {
        const std::wstring w = widen(s);
        b_ = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(b_); }
    BSTR get() const { return b_; }
    BSTR* out() { return &b_; }

private:
    BSTR b_ = nullptr;
};

VARIANT byValue(BSTR s) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = s;  // still owned by its Bstr
    return v;
}

VARIANT byValue(LONG n) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

VARIANT byRef(LONG* n) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_I4;
    v.plVal = n;
    return v;
}

VARIANT byRef(BSTR* s) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = s;
    return v;
}

VARIANT byRef(VARIANT* inner) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = inner;
    return v;
}

// Clears a variant when it goes out of scope.
struct Variant {
    VARIANT v;
    Variant() { VariantInit(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v); }
};

// The bytes of a one-dimensional byte array, at most limit of them.
bool bytesOf(const VARIANT& v, std::size_t limit, std::string& out) {
    out.clear();
    if (v.vt != (VT_ARRAY | VT_UI1) || !v.parray || SafeArrayGetDim(v.parray) != 1) return false;
    LONG lo = 0, hi = -1;
    if (FAILED(SafeArrayGetLBound(v.parray, 1, &lo)) || FAILED(SafeArrayGetUBound(v.parray, 1, &hi)))
        return false;
    std::size_t count = hi >= lo ? static_cast<std::size_t>(hi - lo) + 1 : 0;
    if (count > limit) count = limit;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(v.parray, &data))) return false;
    out.assign(static_cast<const char*>(data), count);
    SafeArrayUnaccessData(v.parray);
    return true;
}

// The operations every JV-Link has; without them the component is something else.
// JVRead or JVGets is checked apart: one of the two is enough.
constexpr const wchar_t* kRequiredNames[] = {L"JVInit", L"JVOpen", L"JVRTOpen", L"JVStatus", L"JVSkip", L"JVClose"};

class DispatchJVLink final : public ComJVLink {
public:
    DispatchJVLink(IDispatch* component, bool leaveApartment)
        : component_(component), leaveApartment_(leaveApartment) {}
    ~DispatchJVLink() override {
        component_->Release();
        if (leaveApartment_) CoUninitialize();
    }
    DispatchJVLink(const DispatchJVLink&) = delete;
    DispatchJVLink& operator=(const DispatchJVLink&) = delete;

    // Empty when the component offers what the binding needs; else why not.
    std::string missingOperation() {
        for (const wchar_t* name : kRequiredNames)
            if (id(name) == DISPID_UNKNOWN) return narrow(name, wcslen(name));
        readsBytes_ = id(L"JVGets") != DISPID_UNKNOWN;
        if (!readsBytes_ && id(L"JVRead") == DISPID_UNKNOWN) return "JVRead";
        return {};
    }

    bool readsBytes() const override { return readsBytes_; }

    int JVInit(const std::string& softwareId) override {
        Bstr sid(softwareId);
        std::vector<VARIANT> args{byValue(sid.get())};
        return callInt(L"JVInit", args);
    }

    int JVSetUIProperties() override {
        std::vector<VARIANT> args;
        return callInt(L"JVSetUIProperties", args);
    }

    int JVOpen(const std::string& dataSpec, const std::string& fromTime, int option, int& readCount,
               int& downloadCount, std::string& lastFileTimeStamp) override {
        Bstr spec(dataSpec), from(fromTime), last;
        LONG reads = 0, downloads = 0;
        std::vector<VARIANT> args{byValue(spec.get()), byValue(from.get()), byValue(static_cast<LONG>(option)),
                                  byRef(&reads),       byRef(&downloads), byRef(last.out())};
        const int result = callInt(L"JVOpen", args);
        readCount = static_cast<int>(reads);
        downloadCount = static_cast<int>(downloads);
        lastFileTimeStamp = narrow(last.get());
        return result;
    }

    int JVRTOpen(const std::string& dataSpec, const std::string& key) override {
        Bstr spec(dataSpec), k(key);
        std::vector<VARIANT> args{byValue(spec.get()), byValue(k.get())};
        return callInt(L"JVRTOpen", args);
    }

    int JVStatus() override {
        std::vector<VARIANT> args;
        return callInt(L"JVStatus", args);
    }

    int JVRead(std::string& buff, int size, std::string& fileName) override {
        buff.clear();
        return readsBytes_ ? readBytes(buff, size, fileName) : readText(buff, size, fileName);
    }

    int JVSkip() override {
        std::vector<VARIANT> args;
        return callInt(L"JVSkip", args);
    }

    int JVClose() override {
        std::vector<VARIANT> args;
        return callInt(L"JVClose", args);
    }

    long long TotalReadFilesize() const override {
        Variant result;
        std::vector<VARIANT> args;
        if (!invoke(L"m_TotalReadFilesize", DISPATCH_PROPERTYGET, args, result.v)) return kJVComFailed;
        if (FAILED(VariantChangeType(&result.v, &result.v, 0, VT_I8))) return kJVComFailed;
        return result.v.llVal;
    }

    std::string CurrentFileTimeStamp() const override {
        Variant result;
        std::vector<VARIANT> args;
        if (!invoke(L"m_CurrentFileTimestamp", DISPATCH_PROPERTYGET, args, result.v)) return {};
        if (FAILED(VariantChangeType(&result.v, &result.v, 0, VT_BSTR))) return {};
        return narrow(result.v.bstrVal);
    }

    int JVMVCheck(const std::string& raceId) override {
        Bstr key(raceId);
        std::vector<VARIANT> args{byValue(key.get())};
        return callInt(L"JVMVCheck", args);
    }

    int JVMVPlay(const std::string& raceId) override {
        Bstr key(raceId);
        std::vector<VARIANT> args{byValue(key.get())};
        return callInt(L"JVMVPlay", args);
    }

private:
    // JVGets(&buff, size, &filename): the record as a byte array, no conversion.
    int readBytes(std::string& buff, int size, std::string& fileName) {
        Variant bytes;
        Bstr name;
        std::vector<VARIANT> args{byRef(&bytes.v), byValue(static_cast<LONG>(size)), byRef(name.out())};
        const int result = callInt(L"JVGets", args);
        fileName = narrow(name.get());
        if (result <= 0) return result;
        if (!bytesOf(bytes.v, static_cast<std::size_t>(result), buff)) return kJVComFailed;
        return static_cast<int>(buff.size());
    }

    // JVRead(&buff, &size, &filename): the record as text; its CP932 bytes are the record.
    int readText(std::string& buff, int size, std::string& fileName) {
        Bstr text, name;
        LONG bufferSize = size;
        std::vector<VARIANT> args{byRef(text.out()), byRef(&bufferSize), byRef(name.out())};
        const int result = callInt(L"JVRead", args);
        fileName = narrow(name.get());
        if (result <= 0) return result;
        buff = narrow(text.get());
        // Whatever the component left after the record (a terminator) is not part of it.
        if (buff.size() > static_cast<std::size_t>(result)) buff.resize(static_cast<std::size_t>(result));
        return static_cast<int>(buff.size());
    }

    DISPID id(const wchar_t* name) const {
        auto found = ids_.find(name);
        if (found != ids_.end()) return found->second;
        DISPID dispid = DISPID_UNKNOWN;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        if (FAILED(component_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid)))
            dispid = DISPID_UNKNOWN;
        ids_.emplace(name, dispid);
        return dispid;
    }

    // Calls name with the arguments in their written order; false when the call
    // did not reach the component or the component raised.
    bool invoke(const wchar_t* name, WORD flags, std::vector<VARIANT>& args, VARIANT& result) const {
        const DISPID dispid = id(name);
        if (dispid == DISPID_UNKNOWN) return false;
        // IDispatch takes the arguments last first.
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                          static_cast<UINT>(reversed.size()), 0};
        EXCEPINFO exception{};
        UINT badArgument = 0;
        const HRESULT hr =
            component_->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &exception, &badArgument);
        if (hr == DISP_E_EXCEPTION) {
            if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
            SysFreeString(exception.bstrSource);
            SysFreeString(exception.bstrDescription);
            SysFreeString(exception.bstrHelpFile);
        }
        return SUCCEEDED(hr);
    }

    int callInt(const wchar_t* name, std::vector<VARIANT>& args) const {
        Variant result;
        if (!invoke(name, DISPATCH_METHOD, args, result.v)) return kJVComFailed;
        // An operation without a value (JVSkip on some versions) has done its work.
        if (result.v.vt == VT_EMPTY) return 0;
        if (FAILED(VariantChangeType(&result.v, &result.v, 0, VT_I4))) return kJVComFailed;
        return static_cast<int>(result.v.lVal);
    }

    IDispatch* component_;
    bool leaveApartment_;
    bool readsBytes_ = false;
    mutable std::map<std::wstring, DISPID> ids_;
};

// Joins the calling thread to a single-threaded apartment. true when this call
// must be balanced by CoUninitialize; false with a reason when the thread is in
// another kind of apartment already.
bool enterApartment(bool& leave, std::string& reason) {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    leave = SUCCEEDED(hr);
    if (hr == RPC_E_CHANGED_MODE) {
        reason = "this thread is in a multi-threaded COM apartment; JV-Link needs a single-threaded one";
        return false;
    }
    if (FAILED(hr)) {
        reason = "COM could not be initialised (" + hex(hr) + ")";
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<ComJVLink> ComJVLink::Create(const std::string& progId, std::string& reason) {
    const std::string what = "JV-Link component \"" + progId + "\"";
    bool leave = false;
    if (!enterApartment(leave, reason)) {
        reason = what + ": " + reason;
        return nullptr;
    }
    auto fail = [&](const std::string& why) {
        reason = what + " " + why;
        if (leave) CoUninitialize();
        return nullptr;
    };
    CLSID clsid;
    const std::wstring wideProgId = widen(progId);
    if (FAILED(CLSIDFromProgID(wideProgId.c_str(), &clsid))) return fail("is not registered");
    IDispatch* component = nullptr;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                        reinterpret_cast<void**>(&component));
    if (FAILED(hr) || !component) {
        std::string why = "could not be created (" + hex(hr) + ")";
        // A 32-bit component is registered for 32-bit programs only.
        if (hr == REGDB_E_CLASSNOTREG && sizeof(void*) == 8)
            why += "; a 32-bit component needs the 32-bit build of the program";
        return fail(why);
    }
    auto jv = std::make_unique<DispatchJVLink>(component, leave);
    if (std::string missing = jv->missingOperation(); !missing.empty()) {
        reason = what + " has no " + missing + ": it is not JV-Link";
        return nullptr;  // the binding releases the component and leaves the apartment
    }
    return jv;
}

bool ComComponentRegistered(const std::string& progId) {
    bool leave = false;
    std::string reason;
    if (!enterApartment(leave, reason)) return false;
    CLSID clsid;
    const std::wstring wideProgId = widen(progId);
    const bool registered = SUCCEEDED(CLSIDFromProgID(wideProgId.c_str(), &clsid));
    if (leave) CoUninitialize();
    return registered;
}

}  // namespace veltrix
