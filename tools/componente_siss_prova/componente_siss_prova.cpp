// The regional component's stand-in as an in-process COM server: registered by regsvr32 under
// the component's ProgID, it offers `callSebMethod` through IDispatch (late binding only, as
// the module calls it) and answers as the simulated component does. The dataset arrives as a
// string by reference, in UTF-16, and goes back through the same reference as the component
// understood it, so a caller sees what crossed COM.
#include "regional/componente_simulato.h"
#include "text/testo.h"

#include <windows.h>

#include <oleauto.h>
#include <olectl.h>

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr CLSID classe_bean = {
    0xdd7b9d55, 0x468b, 0x4140, {0xa0, 0x72, 0x98, 0x3b, 0xad, 0xcf, 0x79, 0x54}};
constexpr std::wstring_view testo_classe = L"{DD7B9D55-468B-4140-A072-983BADCF7954}";
constexpr std::wstring_view progid = L"WinBridge4Seb.Bean.1";
constexpr std::wstring_view descrizione = L"Meravo - componente regionale di prova";
constexpr DISPID id_call_seb_method = 1;

// Live objects and server locks: the DLL may be unloaded when both are zero.
std::atomic<long> oggetti_vivi{0};
std::atomic<long> blocchi_server{0};

std::u16string_view testo_bstr(BSTR b) {
    return b == nullptr
               ? std::u16string_view()
               : std::u16string_view(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
}

BSTR nuova_bstr(std::string_view cp1252) {
    const auto utf16 = meravo::testo::cp1252_a_utf16(cp1252);
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(utf16.data()),
                             static_cast<UINT>(utf16.size()));
}

class Bean final : public IDispatch {
public:
    Bean() { ++oggetti_vivi; }
    ~Bean() { --oggetti_vivi; }
    Bean(const Bean&) = delete;
    Bean& operator=(const Bean&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** oggetto) override {
        if (oggetto == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *oggetto = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *oggetto = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++riferimenti_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG restanti = --riferimenti_;
        if (restanti == 0) {
            // The last reference owns the object.
            std::unique_ptr<Bean> fine(this);
        }
        return restanti;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* quante) override {
        if (quante == nullptr) {
            return E_POINTER;
        }
        *quante = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** informazioni) override {
        if (informazioni != nullptr) {
            *informazioni = nullptr;
        }
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* nomi, UINT quanti, LCID,
                                            DISPID* id) override {
        if (nomi == nullptr || id == nullptr || quanti == 0) {
            return E_INVALIDARG;
        }
        // One method, with no named arguments; names are matched without regard to case, as
        // automation does.
        for (UINT i = 0; i < quanti; ++i) {
            id[i] = DISPID_UNKNOWN;
        }
        if (lstrcmpiW(nomi[0], L"callSebMethod") != 0 || quanti > 1) {
            return DISP_E_UNKNOWNNAME;
        }
        id[0] = id_call_seb_method;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD modo, DISPPARAMS* parametri,
                                     VARIANT* risultato, EXCEPINFO*,
                                     UINT* argomento_errato) override {
        if (id != id_call_seb_method || (modo & DISPATCH_METHOD) == 0) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (parametri == nullptr || parametri->cArgs != 1) {
            return DISP_E_BADPARAMCOUNT;
        }
        if (parametri->cNamedArgs != 0) {
            return DISP_E_NONAMEDARGS;
        }
        VARIANT& argomento = parametri->rgvarg[0];
        if (argomento.vt != (VT_BYREF | VT_BSTR) || argomento.pbstrVal == nullptr) {
            if (argomento_errato != nullptr) {
                *argomento_errato = 0;
            }
            return DISP_E_TYPEMISMATCH;
        }
        std::string dataset = meravo::testo::utf16_a_cp1252(testo_bstr(*argomento.pbstrVal));
        const auto risposta = simulato_.callSebMethod(dataset);
        BSTR restituito = nuova_bstr(dataset);
        if (restituito == nullptr) {
            return E_OUTOFMEMORY;
        }
        SysFreeString(*argomento.pbstrVal);
        *argomento.pbstrVal = restituito;
        if (!risposta) {
            return E_FAIL;
        }
        if (risultato != nullptr) {
            VariantInit(risultato);
            risultato->bstrVal = nuova_bstr(*risposta);
            if (risultato->bstrVal == nullptr) {
                return E_OUTOFMEMORY;
            }
            risultato->vt = VT_BSTR;
        }
        return S_OK;
    }

private:
    std::atomic<ULONG> riferimenti_{1};
    meravo::ComponenteSimulato simulato_;
};

// One factory for the process's lifetime: its references do not keep the DLL loaded, the
// server locks do.
class Fabbrica final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** oggetto) override {
        if (oggetto == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *oggetto = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *oggetto = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* esterno, REFIID iid,
                                             void** oggetto) override {
        if (oggetto == nullptr) {
            return E_POINTER;
        }
        *oggetto = nullptr;
        if (esterno != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        // The new object's own reference is dropped once the caller holds one (or none).
        auto bean = std::make_unique<Bean>();
        const HRESULT esito = bean->QueryInterface(iid, oggetto);
        bean.release()->Release();
        return esito;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL blocca) override {
        blocchi_server += blocca ? 1 : -1;
        return S_OK;
    }
};

Fabbrica fabbrica;

bool scrivi_chiave(const std::wstring& chiave, const wchar_t* nome, std::wstring_view valore) {
    const std::wstring testo(valore);
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, chiave.c_str(), nome, REG_SZ, testo.c_str(),
                           static_cast<DWORD>((testo.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

std::wstring percorso_dll() {
    HMODULE modulo = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&fabbrica), &modulo)) {
        return {};
    }
    std::wstring percorso(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(modulo, percorso.data(), static_cast<DWORD>(percorso.size()));
        if (n == 0) {
            return {};
        }
        if (n < percorso.size()) {
            percorso.resize(n);
            return percorso;
        }
        percorso.resize(percorso.size() * 2);
    }
}

} // namespace

STDAPI DllGetClassObject(REFCLSID classe, REFIID iid, LPVOID* oggetto) {
    if (oggetto == nullptr) {
        return E_POINTER;
    }
    if (!IsEqualCLSID(classe, classe_bean)) {
        *oggetto = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return fabbrica.QueryInterface(iid, oggetto);
}

STDAPI DllCanUnloadNow() {
    return oggetti_vivi == 0 && blocchi_server == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    const auto dll = percorso_dll();
    const std::wstring chiave_classe = L"CLSID\\" + std::wstring(testo_classe);
    const std::wstring chiave_progid(progid);
    const bool registrata =
        !dll.empty() && scrivi_chiave(chiave_progid, nullptr, descrizione) &&
        scrivi_chiave(chiave_progid + L"\\CLSID", nullptr, testo_classe) &&
        scrivi_chiave(chiave_classe, nullptr, descrizione) &&
        scrivi_chiave(chiave_classe + L"\\ProgID", nullptr, progid) &&
        scrivi_chiave(chiave_classe + L"\\InprocServer32", nullptr, dll) &&
        scrivi_chiave(chiave_classe + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    return registrata ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    const std::wstring chiave_classe = L"CLSID\\" + std::wstring(testo_classe);
    const std::wstring chiave_progid(progid);
    const auto tolta = [](const std::wstring& chiave) {
        const auto esito = RegDeleteTreeW(HKEY_CLASSES_ROOT, chiave.c_str());
        return esito == ERROR_SUCCESS || esito == ERROR_FILE_NOT_FOUND;
    };
    return tolta(chiave_progid) && tolta(chiave_classe) ? S_OK : SELFREG_E_CLASS;
}
