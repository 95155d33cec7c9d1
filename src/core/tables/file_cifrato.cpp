#include "tables/file_cifrato.h"

#include "tables/lettore_righe.h"
#include "tables/r4_crypt.h"

namespace meravo {

std::string cifra_righe(const std::vector<std::string>& righe, Orologio& orologio) {
    r4_crypt cifrario(orologio);
    cifrario.posizione_chiavi(r4_crypt::frase_chiave);
    std::string contenuto;
    for (int j = 1; j <= r4_crypt::righe_chiave; ++j) {
        contenuto += cifrario.scrivi_chiavi(j);
        contenuto += "\r\n";
    }
    long n = 0;
    for (const auto& riga : righe) {
        std::string chiara = riga;
        contenuto += cifrario.str_encrypt(chiara, ++n);
        contenuto += "\r\n";
    }
    return contenuto;
}

Esito leggi_chiavi(LettoreRighe& lettore, r4_crypt& cifrario, const std::string& nome_file) {
    cifrario.posizione_chiavi(r4_crypt::frase_chiave);
    for (int j = 1; j <= r4_crypt::righe_chiave; ++j) {
        const auto riga = lettore.prossima();
        if (!riga) {
            return Esito::fallito("Input oltre la fine del file " + nome_file);
        }
        if (!cifrario.carica_chiavi(*riga, j)) {
            return Esito::fallito("Chiavi di cifratura danneggiate nel file " + nome_file);
        }
    }
    return Esito::riuscito();
}

Esito decifra_righe(std::string_view contenuto, Orologio& orologio, const std::string& nome_file,
                    std::vector<std::string>& righe) {
    LettoreRighe lettore(contenuto);
    r4_crypt cifrario(orologio);
    if (auto esito = leggi_chiavi(lettore, cifrario, nome_file); !esito) {
        return esito;
    }
    righe.clear();
    long n = 0;
    while (const auto riga = lettore.prossima()) {
        righe.push_back(cifrario.str_decrypt(*riga, ++n));
    }
    return Esito::riuscito();
}

std::vector<std::string> righe_di(std::string_view contenuto) {
    std::vector<std::string> righe;
    LettoreRighe lettore(contenuto);
    while (const auto riga = lettore.prossima()) {
        righe.emplace_back(*riga);
    }
    return righe;
}

std::string unisci_righe(const std::vector<std::string>& righe) {
    std::string contenuto;
    for (const auto& riga : righe) {
        contenuto += riga;
        contenuto += "\r\n";
    }
    return contenuto;
}

} // namespace meravo
