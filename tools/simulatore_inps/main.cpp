// meravo-simulatore-inps: a local HTTPS stand-in of the national certificate service, for the
// tests, the demo and training. See `meravo-simulatore-inps --aiuto`.

#include "chiave_servizio.h"
#include "opzioni_simulatore.h"
#include "registro_richieste.h"
#include "server_simulatore.h"
#include "servizio_inps.h"
#include "stato_servizio.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>

namespace {

using namespace meravo::simulatore;

int fallisci(const std::string& motivo) {
    std::cerr << "meravo-simulatore-inps: " << motivo << '\n';
    return 1;
}

// SIGINT and SIGTERM end the service cleanly: they are blocked in every thread and taken by
// one thread that stops the server, since nothing else is safe to do in a signal handler.
sigset_t segnali_di_arresto() {
    sigset_t segnali;
    sigemptyset(&segnali);
    sigaddset(&segnali, SIGINT);
    sigaddset(&segnali, SIGTERM);
    return segnali;
}

int esegui(const OpzioniSimulatore& opzioni) {
    std::string errore;
    auto chiave = ChiaveServizio::carica(opzioni.chiave_servizio(), errore);
    if (!chiave) {
        return fallisci(errore);
    }
    auto stato = StatoServizio::apri(opzioni.file_stato, errore);
    if (!stato) {
        return fallisci(errore);
    }
    std::optional<RegistroRichieste> registro;
    if (opzioni.file_registro) {
        registro = RegistroRichieste::apri(*opzioni.file_registro, errore);
        if (!registro) {
            return fallisci(errore);
        }
    }
    ServizioInps servizio(std::move(*chiave), opzioni.pin, std::move(*stato));
    ServerSimulatore server(opzioni.certificato_server(), opzioni.chiave_server(),
                            {opzioni.utente, opzioni.password}, servizio,
                            registro ? &*registro : nullptr, std::cout);
    server.rallenta(std::chrono::milliseconds(opzioni.ritardo_ms));
    if (!server.valido()) {
        return fallisci("certificato o chiave HTTPS non utilizzabili in " +
                        opzioni.cartella_pki.string());
    }
    const int porta = server.apri(opzioni.porta);
    if (porta < 0) {
        return fallisci("impossibile ascoltare su 127.0.0.1:" + std::to_string(opzioni.porta));
    }
    // The port alone on the first line: whoever started the simulator on port 0 reads it.
    std::cout << porta << '\n'
              << "Simulatore INPS in ascolto su https://127.0.0.1:" << porta
              << "/TrasmissioneCertificatiWeb/services/" << std::endl;

    const auto segnali = segnali_di_arresto();
    std::atomic<bool> finito = false;
    std::thread arresto([&server, &segnali, &finito] {
        int segnale = 0;
        sigwait(&segnali, &segnale);
        // A signal that comes before the server is listening would be lost by stop().
        while (!finito && !server.in_ascolto()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        server.ferma();
    });
    const bool servito = server.ascolta();
    finito = true;
    // Wakes the waiting thread when the server ended on its own.
    pthread_kill(arresto.native_handle(), SIGTERM);
    arresto.join();
    std::cout << "Simulatore INPS fermato" << std::endl;
    return servito ? 0 : fallisci("il server si e' fermato per un errore");
}

} // namespace

int main(int argc, char** argv) {
    std::string errore;
    const auto opzioni = leggi_opzioni(argc, argv, errore);
    if (!opzioni) {
        std::cerr << "meravo-simulatore-inps: " << errore << "\n\n" << uso_simulatore;
        return 2;
    }
    if (opzioni->aiuto) {
        std::cout << uso_simulatore;
        return 0;
    }
    const auto segnali = segnali_di_arresto();
    pthread_sigmask(SIG_BLOCK, &segnali, nullptr);
    // A client that hangs up mid-answer must not end the service.
    signal(SIGPIPE, SIG_IGN);
    return esegui(*opzioni);
}
