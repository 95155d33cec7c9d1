#include "risposte_soap.h"

#include "spazi_nomi.h"

#include <pugixml.hpp>

#include <sstream>

namespace meravo::simulatore::risposte_soap {

namespace {

pugi::xml_node aggiungi(pugi::xml_node padre, std::string_view nome) {
    return padre.append_child(std::string(nome).c_str());
}

void aggiungi_testo(pugi::xml_node padre, std::string_view nome, std::string_view testo) {
    aggiungi(padre, nome).text().set(std::string(testo).c_str());
}

void dichiara(pugi::xml_node nodo, std::string_view attributo, std::string_view spazio) {
    nodo.append_attribute(std::string(attributo).c_str()).set_value(std::string(spazio).c_str());
}

class Busta {
public:
    // An envelope with the given prefix, an empty header and a body.
    explicit Busta(std::string_view prefisso) : prefisso_(prefisso) {
        auto dichiarazione = documento_.append_child(pugi::node_declaration);
        dichiarazione.append_attribute("version").set_value("1.0");
        dichiarazione.append_attribute("encoding").set_value("UTF-8");
        auto busta = aggiungi(documento_, prefisso_ + ":Envelope");
        dichiara(busta, "xmlns:" + prefisso_, spazi_nomi::busta_soap);
        aggiungi(busta, prefisso_ + ":Header");
        corpo_ = aggiungi(busta, prefisso_ + ":Body");
    }

    pugi::xml_node corpo() const { return corpo_; }

    std::string testo() const {
        std::ostringstream uscita;
        documento_.save(uscita, "", pugi::format_raw, pugi::encoding_utf8);
        return uscita.str();
    }

private:
    std::string prefisso_;
    pugi::xml_document documento_;
    pugi::xml_node corpo_;
};

// The invio answer: its own default namespace, so that its element names carry no prefix.
pugi::xml_node risposta_invio(Busta& busta, std::string_view esito) {
    auto risposta = aggiungi(busta.corpo(), "InvioCertificatoResponse");
    dichiara(risposta, "xmlns", spazi_nomi::invio_risposta);
    return aggiungi(risposta, esito);
}

pugi::xml_node risposta_annullamento(Busta& busta, std::string_view esito) {
    auto risposta = aggiungi(busta.corpo(), "ns2:AnnullamentoCertificatoResponse");
    dichiara(risposta, "xmlns:ns2", spazi_nomi::annullamento_risposta);
    return aggiungi(risposta, esito);
}

void aggiungi_errori(pugi::xml_node padre, const std::vector<ErroreServizio>& errori,
                     std::string_view prefisso) {
    const std::string p(prefisso);
    for (const auto& errore : errori) {
        auto elemento = aggiungi(padre, p + "errore");
        aggiungi_testo(elemento, p + "tipoErrore", errore.tipo);
        aggiungi_testo(elemento, p + "descrizione", errore.descrizione);
    }
}

} // namespace

std::string ricevuta_invio(std::string_view id_certificato) {
    Busta busta("soapenv");
    aggiungi_testo(risposta_invio(busta, "ricevutaOK"), "idCertificato", id_certificato);
    return busta.testo();
}

std::string errori_invio(const std::vector<ErroreServizio>& errori) {
    Busta busta("soapenv");
    aggiungi_errori(risposta_invio(busta, "ricevutaKO"), errori, "");
    return busta.testo();
}

std::string ricevuta_annullamento(std::string_view id_annullamento) {
    Busta busta("soapenv");
    aggiungi_testo(risposta_annullamento(busta, "ns2:ricevutaAnnullamentoOK"), "ns2:idAnnullamento",
                   id_annullamento);
    return busta.testo();
}

std::string errori_annullamento(const std::vector<ErroreServizio>& errori) {
    Busta busta("soapenv");
    aggiungi_errori(risposta_annullamento(busta, "ns2:ricevutaAnnullamentoKO"), errori, "ns2:");
    return busta.testo();
}

std::string fault(std::string_view codice, std::string_view testo) {
    Busta busta("env");
    auto guasto = aggiungi(busta.corpo(), "env:Fault");
    // faultcode and faultstring are unqualified in SOAP 1.1.
    aggiungi_testo(guasto, "faultcode", "env:" + std::string(codice));
    aggiungi_testo(guasto, "faultstring", testo);
    return busta.testo();
}

} // namespace meravo::simulatore::risposte_soap
