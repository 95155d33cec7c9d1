#pragma once

#include <openssl/evp.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace meravo::simulatore {

// The private key that belongs to the service's public certificate. The module encrypts the
// doctor's PIN and the worker's fiscal code with that certificate (RSA, PKCS #1 v1.5 padding)
// and sends them in Base64; only this key reads them back.
class ChiaveServizio {
public:
    // The key from a PEM file; empty, with the reason in `errore`, when it cannot be read.
    static std::optional<ChiaveServizio> carica(const std::filesystem::path& file,
                                                std::string& errore);

    // The plain text of a Base64 ciphertext; empty when it is not Base64 or does not decrypt.
    std::optional<std::string> decifra(std::string_view base64) const;

private:
    struct LiberaChiave {
        void operator()(EVP_PKEY* chiave) const { EVP_PKEY_free(chiave); }
    };
    explicit ChiaveServizio(EVP_PKEY* chiave) : chiave_(chiave) {}

    std::unique_ptr<EVP_PKEY, LiberaChiave> chiave_;
};

} // namespace meravo::simulatore
