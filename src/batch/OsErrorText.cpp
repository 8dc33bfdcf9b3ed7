#include "OsErrorText.h"

#include <cerrno>
#include <system_error>

namespace quendral::batch {

std::string osErrorText(int osError)
{
    switch (osError) {
    case ENOENT:
        return "nicht vorhanden";
    case EACCES:
    case EPERM:
        return "keine Berechtigung";
    case EISDIR:
        return "ist ein Ordner";
    case ENOTDIR:
        return "ein Teil des Pfads ist kein Ordner";
    case ENAMETOOLONG:
        return "Name zu lang";
    case ELOOP:
        return "zu viele symbolische Verknüpfungen";
    case ENOSPC:
        return "kein Platz mehr auf dem Datenträger";
    case EDQUOT:
        return "Speicherkontingent erschöpft";
    case EROFS:
        return "Datenträger ist schreibgeschützt";
    case EMFILE:
    case ENFILE:
        return "zu viele offene Dateien";
    case EIO:
        return "Ein-/Ausgabefehler";
    case EPIPE:
        return "Empfänger hat die Ausgabe geschlossen";
    case EBADF:
        return "Ausgabe ist nicht geöffnet";
    case EFBIG:
        return "Datei zu groß";
    case ENXIO:
        return "niemand liest die Ausgabe";
    default:
        // No German words for it: the system's own text says more than a bare number.
        return std::error_code(osError, std::generic_category()).message();
    }
}

}  // namespace quendral::batch
