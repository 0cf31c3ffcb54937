// The texts the tool chooses by language: 30 rows of six languages (EN, FR, IT, DE, PO, ES).
// Misspellings and trailing blanks are part of the texts.

#include "app/MessageTable.h"

namespace kq {

// clang-format off
const std::array<const char*, kMessageRows * kLanguages> MessageTable = {
    // 0
    "Waiting connection...",
    "Attente connection...",
    "Attesa connessione...",
    "Warte auf Verbindung...",
    "Oczekujące połączenie...",
    "Atendiendo conexion...",
    // 1
    "Hardware connected",
    "Matériel connecté",
    "Hardware connesso",
    "Hardware vebunden",
    "Urządzenie podłączone",
    "Unidad conectada",
    // 2
    "Configuration Error",
    "Erreur Configuration",
    "Errore di configurazione",
    "Konfigurationsfehler",
    "Błąd konfiguracji",
    "Error de configuracion",
    // 3
    "upgrade to release ",
    "mise à jour en version ",
    "Upgrade disponibile ",
    "Upgrade verfügbar ",
    "Dostępna wersja oprog. ",
    "Actualizar a la version ",
    // 4
    "write error !",
    "erreur écriture !",
    "Errore di scrittura !",
    "Schreibfehler !",
    "Błąd zapisu !",
    "Error de copia !",
    // 5
    "verification error !",
    "erreur vérification !",
    "Errore di verfica !",
    "Prüfungsfehler !",
    "Błąd weryfikacji !",
    "Compruebe error !",
    // 6
    "verifying...",
    "vérification...",
    "verifica...",
    "Überprüfung...",
    "weryffikacja...",
    "Comprobar...",
    // 7
    "Rebooting...",
    "Redémarrage...",
    "Riavvio...",
    "Neustart...",
    "Ponowny start...",
    "Reiniciar...",
    // 8
    "Standard :",
    "Standard :",
    "Standard :",
    "Standard :",
    "Standard :",
    "Estand. :",
    // 9
    "Pict. Format :",
    "Format Image :",
    "Formato video :",
    "Bildformat :",
    "Format obrazu :",
    "Imag. form. :",
    // 10
    "Light :",
    "Lumière :",
    "Luminosità :",
    "Helligkeit :",
    "Jasność :",
    "Luz :",
    // 11
    "Contrast :",
    "Contraste :",
    "Contrasto :",
    "Kontrast :",
    "Kontrast :",
    "Contraste :",
    // 12
    "Saturation :",
    "Saturation :",
    "Saturazione :",
    "Sättigung :",
    "Nasycenie :",
    "Saturacion :",
    // 13
    "Freq. (kHz) :",
    "Fréq. (kHz) :",
    "Freq. (kHz) :",
    "Freq. (kHz) :",
    "Czest. (khz):",
    "Frec. (kHz) :",
    // 14
    "TS Id. :",
    "TS Id. :",
    "TS Id. :",
    "TS. Id. :",
    "TS. Id. :",
    "TS Id. :",
    // 15
    "Mode :",
    "Mode :",
    "Modo :",
    "Modus :",
    "Tryb :",
    "Moda :",
    // 16
    "Const. :",
    "Const. :",
    "Const. :",
    "Konst. :",
    "Konst. :",
    "Const. :",
    // 17
    "Bandwidth :",
    "L. Bande :",
    "Banda :",
    "Bandbreite :",
    "Pasmo :",
    "Banda :",
    // 18
    "F.E.C. :",
    "F.E.C. :",
    "F.E.C. :",
    "F.E.C. :",
    "F.E.C. :",
    "F.E.C. :",
    // 19
    "Guard Int. :",
    "Int. Garde :",
    "Int. guardia :",
    "Guard Int. :",
    "G. Interwal :",
    "Int. Guarde :",
    // 20
    "Level Att. :",
    "Niveau Att. :",
    "Att. Livello :",
    "Pegelsteller :",
    "TLum. :",
    "Att. nivel :",
    // 21
    "Network",
    "Réseau",
    "Rete",
    "Netzwerk",
    "Sieć",
    "Red",
    // 22
    "Original Id. :",
    "Original Id. :",
    "Original Id. :",
    "Original Id. :",
    "Original Id. :",
    "Original Id. :",
    // 23
    "Id. :",
    "Id. :",
    "Id. :",
    "Id. :",
    "Id. :",
    "Id. :",
    // 24
    "Name :",
    "Nom :",
    "Nome :",
    "Name :",
    "Nazwa :",
    "Nombre :",
    // 25
    "Service",
    "Programme",
    "Programma",
    "Service",
    "Program",
    "Programa",
    // 26
    "L.C.N. :",
    "L.C.N :",
    "L.C.N. :",
    "L.C.N. :",
    "L.C.N. :",
    "L.C.N. :",
    // 27
    "PMT PID :",
    "PMT PID :",
    "PMT PID :",
    "PMT PID :",
    "PMT PID :",
    "PMT PID :",
    // 28
    "Video PID:",
    "Vidéo PID :",
    "Video PID :",
    "Video PID :",
    "Video PID :",
    "Video PID:",
    // 29
    "Audio PID :",
    "Audio PID :",
    "Audio PID :",
    "Audio PID :",
    "Audio PID :",
    "Audio PID :",
};
// clang-format on

std::string GetMessageText(int row, int languageIndex) {
    if (row < 0 || row >= kMessageRows || languageIndex < 0 || languageIndex >= kLanguages) {
        return {};
    }
    return MessageTable[static_cast<size_t>(row * kLanguages + languageIndex)];
}

}  // namespace kq
