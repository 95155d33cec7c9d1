#pragma once

#include <string>
#include <string_view>

namespace meravo::simulatore {

// One error of the service's answer: its type code and the text the doctor is shown.
// The texts are fixed and never repeat what the request carried, so that no value typed by
// the doctor can ever put a receipt marker into an answer that refuses a certificate.
struct ErroreServizio {
    std::string_view tipo;
    std::string_view descrizione;

    bool operator==(const ErroreServizio&) const = default;
};

namespace errori {

inline constexpr ErroreServizio pin{"101", "Pincode del medico non valido"};
inline constexpr ErroreServizio certificato_sconosciuto{"102", "Certificato non trovato"};
inline constexpr ErroreServizio codice_fiscale{"103", "Codice fiscale del lavoratore non valido"};
inline constexpr ErroreServizio altro_lavoratore{
    "104", "Il certificato non appartiene al lavoratore indicato"};
inline constexpr ErroreServizio gia_annullato{"105", "Certificato annullato in precedenza"};

inline constexpr ErroreServizio data_rilascio{"201", "Data di rilascio non valida"};
inline constexpr ErroreServizio data_inizio{"202", "Data di inizio prognosi non valida"};
inline constexpr ErroreServizio data_fine{"203", "Data di fine prognosi non valida"};
inline constexpr ErroreServizio date_invertite{
    "204", "La data di inizio prognosi segue la data di fine prognosi"};
inline constexpr ErroreServizio visita{"205", "Tipo di visita non valido: ammessi A e D"};
inline constexpr ErroreServizio tipo_certificato{
    "206", "Tipo di certificato non valido: ammessi I, C e R"};
inline constexpr ErroreServizio diagnosi{"207",
                                         "Indicare il codice di diagnosi o le note di diagnosi"};
inline constexpr ErroreServizio cap_residenza{"208", "CAP della residenza non valido"};
inline constexpr ErroreServizio provincia_residenza{"209", "Provincia della residenza non valida"};
inline constexpr ErroreServizio cap_reperibilita{"210",
                                                 "CAP dell'indirizzo di reperibilita non valido"};
inline constexpr ErroreServizio provincia_reperibilita{
    "211", "Provincia dell'indirizzo di reperibilita non valida"};

} // namespace errori

} // namespace meravo::simulatore
