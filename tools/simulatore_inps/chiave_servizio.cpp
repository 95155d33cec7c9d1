#include "chiave_servizio.h"

#include "testo_simulatore.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <vector>

namespace meravo::simulatore {

namespace {

template <typename T, void (*libera)(T*)> struct Liberatore {
    void operator()(T* oggetto) const { libera(oggetto); }
};
using Bio = std::unique_ptr<BIO, Liberatore<BIO, BIO_free_all>>;
using ContestoChiave = std::unique_ptr<EVP_PKEY_CTX, Liberatore<EVP_PKEY_CTX, EVP_PKEY_CTX_free>>;

std::string ultimo_errore_openssl() {
    const unsigned long codice = ERR_get_error();
    ERR_clear_error();
    if (codice == 0) {
        return "errore sconosciuto";
    }
    std::vector<char> testo(256);
    ERR_error_string_n(codice, testo.data(), testo.size());
    return testo.data();
}

} // namespace

std::optional<ChiaveServizio> ChiaveServizio::carica(const std::filesystem::path& file,
                                                     std::string& errore) {
    const Bio ingresso(BIO_new_file(file.c_str(), "r"));
    if (!ingresso) {
        errore = "impossibile aprire " + file.string() + ": " + ultimo_errore_openssl();
        return std::nullopt;
    }
    EVP_PKEY* chiave = PEM_read_bio_PrivateKey(ingresso.get(), nullptr, nullptr, nullptr);
    if (chiave == nullptr) {
        errore =
            "chiave privata non leggibile in " + file.string() + ": " + ultimo_errore_openssl();
        return std::nullopt;
    }
    if (EVP_PKEY_get_base_id(chiave) != EVP_PKEY_RSA) {
        EVP_PKEY_free(chiave);
        errore = "la chiave di " + file.string() + " non e' RSA";
        return std::nullopt;
    }
    return ChiaveServizio(chiave);
}

std::optional<std::string> ChiaveServizio::decifra(std::string_view base64) const {
    const auto cifrato = decodifica_base64(base64);
    if (!cifrato) {
        return std::nullopt;
    }
    const ContestoChiave contesto(EVP_PKEY_CTX_new(chiave_.get(), nullptr));
    if (!contesto || EVP_PKEY_decrypt_init(contesto.get()) != 1 ||
        EVP_PKEY_CTX_set_rsa_padding(contesto.get(), RSA_PKCS1_PADDING) != 1) {
        ERR_clear_error();
        return std::nullopt;
    }
    const auto* dati = reinterpret_cast<const unsigned char*>(cifrato->data());
    std::size_t lunghezza = 0;
    if (EVP_PKEY_decrypt(contesto.get(), nullptr, &lunghezza, dati, cifrato->size()) != 1) {
        ERR_clear_error();
        return std::nullopt;
    }
    std::vector<unsigned char> chiaro(lunghezza);
    if (EVP_PKEY_decrypt(contesto.get(), chiaro.data(), &lunghezza, dati, cifrato->size()) != 1) {
        ERR_clear_error();
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(chiaro.data()), lunghezza);
}

} // namespace meravo::simulatore
