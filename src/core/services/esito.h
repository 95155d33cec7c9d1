#pragma once

#include <string>
#include <utility>

namespace meravo {

// "True, or the message that says why not": the result of the table loaders and of every
// operation whose caller decides how to show the failure.
class Esito {
public:
    static Esito riuscito() { return Esito{}; }
    static Esito fallito(std::string messaggio) { return Esito{std::move(messaggio)}; }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const std::string& messaggio() const { return messaggio_; }

private:
    Esito() = default;
    explicit Esito(std::string messaggio) : ok_(false), messaggio_(std::move(messaggio)) {}

    bool ok_ = true;
    std::string messaggio_;
};

// What a send or a cancellation left at the service. `incerto` is a request that may have
// reached it without its answer reaching the module (a time-out after it left, an answer cut
// short): the certificate may be registered, and the doctor must check before sending again.
enum class EsitoInvio { riuscito, rifiutato, incerto };

} // namespace meravo
