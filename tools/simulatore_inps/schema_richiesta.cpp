#include "schema_richiesta.h"

#include "spazi_nomi.h"

namespace meravo::simulatore {

namespace {

SchemaElemento tipo(std::string_view nome, bool facoltativo = false) {
    return {nome, spazi_nomi::tipi_certificato, facoltativo, {}};
}

SchemaElemento invio(std::string_view nome, std::vector<SchemaElemento> figli,
                     bool facoltativo = false) {
    return {nome, spazi_nomi::invio_richiesta, facoltativo, std::move(figli)};
}

// Street, cap, municipality and province: the same four leaves for both addresses, all
// required, since the module always writes them even when they are empty.
std::vector<SchemaElemento> indirizzo() {
    return {tipo("via"), tipo("cap"), tipo("comune"), tipo("provincia")};
}

SchemaElemento crea_invio() {
    return invio(
        "InvioCertificato",
        {
            invio("medico", {tipo("pincode"), tipo("codiceRegione"), tipo("codiceAsl")}),
            invio("lavoratore", {tipo("codiceFiscale")}),
            invio("residenzaODomicilioAbituale", indirizzo()),
            invio("indirizzoDiReperibilita",
                  {tipo("cognome", true),
                   SchemaElemento{"indirizzo", spazi_nomi::tipi_certificato, false, indirizzo()}},
                  true),
            invio("certificato", {tipo("dataRilascio"), tipo("dataInizio"), tipo("dataFine"),
                                  tipo("visita"), tipo("tipoCertificato"),
                                  tipo("codiceDiagnosi", true), tipo("noteDiagnosi", true)}),
        });
}

SchemaElemento crea_annullamento() {
    const auto foglia = [](std::string_view nome) {
        return SchemaElemento{nome, spazi_nomi::annullamento_richiesta, false, {}};
    };
    return {"AnnullamentoCertificato",
            spazi_nomi::annullamento_richiesta,
            false,
            {foglia("pincodeMedico"), foglia("codiceFiscaleLavoratore"), foglia("idCertificato")}};
}

} // namespace

const SchemaElemento& schema_invio_certificato() {
    static const SchemaElemento schema = crea_invio();
    return schema;
}

const SchemaElemento& schema_annullamento_certificato() {
    static const SchemaElemento schema = crea_annullamento();
    return schema;
}

} // namespace meravo::simulatore
