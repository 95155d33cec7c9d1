#include "regole_certificato.h"

#include <algorithm>

namespace meravo::simulatore {

namespace {

bool cifra(char c) {
    return c >= '0' && c <= '9';
}
bool lettera(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool solo(std::string_view testo, std::size_t lunghezza, bool (*ammesso)(char)) {
    return testo.size() == lunghezza && std::all_of(testo.begin(), testo.end(), ammesso);
}

int numero(std::string_view cifre) {
    int valore = 0;
    for (const char c : cifre) {
        valore = valore * 10 + (c - '0');
    }
    return valore;
}

bool vuoto(std::string_view testo) {
    return testo.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

void controlla_indirizzo(const RichiestaLetta& richiesta, const std::string& percorso,
                         const ErroreServizio& cap, const ErroreServizio& provincia,
                         std::vector<ErroreServizio>& errori) {
    if (!solo(richiesta.valore(percorso + "/cap"), 5, cifra)) {
        errori.push_back(cap);
    }
    if (!solo(richiesta.valore(percorso + "/provincia"), 2, lettera)) {
        errori.push_back(provincia);
    }
}

} // namespace

bool data_valida(std::string_view testo) {
    if (testo.size() != 10 || testo[4] != '-' || testo[7] != '-' ||
        !solo(testo.substr(0, 4), 4, cifra) || !solo(testo.substr(5, 2), 2, cifra) ||
        !solo(testo.substr(8, 2), 2, cifra)) {
        return false;
    }
    const int anno = numero(testo.substr(0, 4));
    const int mese = numero(testo.substr(5, 2));
    const int giorno = numero(testo.substr(8, 2));
    if (anno < 1900 || mese < 1 || mese > 12 || giorno < 1) {
        return false;
    }
    const bool bisestile = (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
    static constexpr int giorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return giorno <= giorni[mese - 1] + (mese == 2 && bisestile ? 1 : 0);
}

bool codice_fiscale_valido(std::string_view testo) {
    return solo(testo, 16, [](char c) { return cifra(c) || lettera(c); });
}

std::vector<ErroreServizio> errori_certificato(const RichiestaLetta& richiesta) {
    std::vector<ErroreServizio> errori;
    controlla_indirizzo(richiesta, "residenzaODomicilioAbituale", errori::cap_residenza,
                        errori::provincia_residenza, errori);
    if (richiesta.presente("indirizzoDiReperibilita/indirizzo/via")) {
        controlla_indirizzo(richiesta, "indirizzoDiReperibilita/indirizzo",
                            errori::cap_reperibilita, errori::provincia_reperibilita, errori);
    }

    const auto rilascio = richiesta.valore("certificato/dataRilascio");
    const auto inizio = richiesta.valore("certificato/dataInizio");
    const auto fine = richiesta.valore("certificato/dataFine");
    if (!data_valida(rilascio)) {
        errori.push_back(errori::data_rilascio);
    }
    if (!data_valida(inizio)) {
        errori.push_back(errori::data_inizio);
    }
    if (!data_valida(fine)) {
        errori.push_back(errori::data_fine);
    }
    // yyyy-mm-dd texts sort as their dates do.
    if (data_valida(inizio) && data_valida(fine) && inizio > fine) {
        errori.push_back(errori::date_invertite);
    }

    const auto visita = richiesta.valore("certificato/visita");
    if (visita != "A" && visita != "D") {
        errori.push_back(errori::visita);
    }
    const auto tipo = richiesta.valore("certificato/tipoCertificato");
    if (tipo != "I" && tipo != "C" && tipo != "R") {
        errori.push_back(errori::tipo_certificato);
    }
    if (vuoto(richiesta.valore("certificato/codiceDiagnosi")) &&
        vuoto(richiesta.valore("certificato/noteDiagnosi"))) {
        errori.push_back(errori::diagnosi);
    }
    return errori;
}

} // namespace meravo::simulatore
