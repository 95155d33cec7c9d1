#include "regional/componente_regionale.h"
#include "text/testo.h"

#include <windows.h>

#include <oleauto.h>

namespace meravo {

namespace {

std::u16string_view testo_bstr(BSTR b) {
    return b == nullptr
               ? std::u16string_view()
               : std::u16string_view(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
}

// The regional component reached through COM automation: `callSebMethod` is invoked by name,
// its one argument a BSTR by reference, its result turned into text.
class ComponenteCom final : public ComponenteRegionale {
public:
    ComponenteCom(IDispatch* dispatch, DISPID metodo) : dispatch_(dispatch), metodo_(metodo) {}
    ~ComponenteCom() override { dispatch_->Release(); }
    ComponenteCom(const ComponenteCom&) = delete;
    ComponenteCom& operator=(const ComponenteCom&) = delete;

    std::optional<std::string> callSebMethod(std::string& dataset) override {
        const auto utf16 = testo::cp1252_a_utf16(dataset);
        BSTR argomento = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(utf16.data()),
                                           static_cast<UINT>(utf16.size()));
        if (argomento == nullptr) {
            return std::nullopt;
        }
        VARIANT riferimento;
        VariantInit(&riferimento);
        riferimento.vt = VT_BYREF | VT_BSTR;
        riferimento.pbstrVal = &argomento;
        DISPPARAMS parametri{&riferimento, nullptr, 1, 0};
        VARIANT risultato;
        VariantInit(&risultato);
        const HRESULT esito =
            dispatch_->Invoke(metodo_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parametri,
                              &risultato, nullptr, nullptr);
        // The argument goes by reference: the component may hand back another text in it.
        dataset = testo::utf16_a_cp1252(testo_bstr(argomento));
        SysFreeString(argomento);
        VARIANT testo;
        VariantInit(&testo);
        const bool riuscita =
            SUCCEEDED(esito) && SUCCEEDED(VariantChangeType(&testo, &risultato, 0, VT_BSTR));
        std::optional<std::string> risposta;
        if (riuscita) {
            risposta = testo::utf16_a_cp1252(testo_bstr(testo.bstrVal));
        }
        VariantClear(&testo);
        VariantClear(&risultato);
        return risposta;
    }

private:
    IDispatch* dispatch_;
    DISPID metodo_;
};

} // namespace

std::unique_ptr<ComponenteRegionale> crea_componente_di_sistema() {
    // The form lives on one user-interface thread for the whole run, so COM stays initialised
    // until the process ends; a thread already initialised otherwise is fine too.
    const HRESULT avvio = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(avvio) && avvio != RPC_E_CHANGED_MODE) {
        return nullptr;
    }
    CLSID classe;
    if (FAILED(CLSIDFromProgID(L"WinBridge4Seb.Bean.1", &classe))) {
        return nullptr;
    }
    IDispatch* dispatch = nullptr;
    if (FAILED(CoCreateInstance(classe, nullptr, CLSCTX_ALL, IID_IDispatch,
                                reinterpret_cast<void**>(&dispatch)))) {
        return nullptr;
    }
    wchar_t nome_metodo[] = L"callSebMethod";
    LPOLESTR nomi[] = {nome_metodo};
    DISPID metodo = 0;
    if (FAILED(dispatch->GetIDsOfNames(IID_NULL, nomi, 1, LOCALE_USER_DEFAULT, &metodo))) {
        dispatch->Release();
        return nullptr;
    }
    return std::make_unique<ComponenteCom>(dispatch, metodo);
}

} // namespace meravo
