#pragma once

#include "services/messaggi.h"

class QWidget;

namespace meravo {

// Modal message boxes over the active window.
class MessaggiQt final : public Messaggi {
public:
    explicit MessaggiQt(QWidget* genitore = nullptr) : genitore_(genitore) {}
    void imposta_genitore(QWidget* genitore) { genitore_ = genitore; }

    Risposta mostra(std::string_view testo, std::string_view titolo, Icona icona,
                    Pulsanti pulsanti) override;

private:
    QWidget* genitore_;
};

} // namespace meravo
