#include "CommandLine.h"

namespace quendral::batch {

const char* const kUsageLine
    = "Aufruf: quendral-batch [-o ERGEBNIS.csv] [--items FRAGEN.csv] [--reports] PFAD...\n"
      "Mehr dazu mit „quendral-batch --help“.\n";

const char* const kHelpText
    = "Aufruf: quendral-batch [-o ERGEBNIS.csv] [--items FRAGEN.csv] [--reports] PFAD...\n"
      "\n"
      "Wertet viele Quendral-Antwortdateien ohne Fenster aus. Jeder PFAD ist eine\n"
      "Antwortdatei oder ein Ordner; aus einem Ordner werden dessen Dateien *.dat in\n"
      "Namensfolge genommen, eine ausdrücklich genannte Datei auch unter anderem Namen.\n"
      "\n"
      "Die Ergebnistabelle hat eine Zeile je Antwortdatei: Datei, die Prozente der\n"
      "sechs Blöcke (leer bei einem nicht bearbeiteten Block), die übereinstimmenden\n"
      "Optionen (Punkte) und die Optionen der bearbeiteten Blöcke. Sie ist eine\n"
      "CSV-Datei mit Semikolon, in UTF-8 mit Byte-Order-Mark und CR LF, so dass eine\n"
      "Tabellenkalkulation sie in Spalten öffnet.\n"
      "\n"
      "Optionen:\n"
      "  -o DATEI        die Ergebnistabelle in DATEI schreiben statt auf die\n"
      "                  Standardausgabe („-o -“: auf die Standardausgabe)\n"
      "  --items DATEI   die Itemanalyse in DATEI schreiben: je Antwortoption die Zahl\n"
      "                  der Teilnehmer, die ihren Block bearbeitet haben, der Anteil\n"
      "                  von ihnen, deren Kreuz mit dem Lösungsschlüssel übereinstimmt,\n"
      "                  und der Anteil, der sie angekreuzt hat (in %);\n"
      "                  „--items -“ schreibt sie auf die Standardausgabe\n"
      "  --reports       neben jede Antwortdatei ihre Detailauswertung schreiben\n"
      "                  (Quendral.dat: Quendral-Detail.txt), wie das Auswerteprogramm\n"
      "                  sie schreibt, wenn jeder bearbeitete Block einmal geöffnet wird\n"
      "  -h, --help      diese Hilfe zeigen\n"
      "\n"
      "Antwortdateien werden nur gelesen, nie geschrieben; nur gewöhnliche Dateien\n"
      "werden gelesen, eine unter mehreren Namen genannte Datei nur einmal. Eine\n"
      "Ausgabe, die ein Gerät oder eine Pipe ist, wird direkt beschrieben, eine Datei\n"
      "erst ersetzt, wenn sie vollständig geschrieben ist.\n"
      "\n"
      "Rückgabewert: 0, wenn jede Datei gelesen wurde; 1, wenn eine Datei sich nicht\n"
      "lesen oder eine Ausgabe sich nicht schreiben ließ (je eine Zeile auf der\n"
      "Fehlerausgabe); 2 bei einem falschen Aufruf.\n";

namespace {

CommandLine failure(std::string message)
{
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.error = std::move(message);
    return result;
}

std::string quoted(std::string_view text)
{
    return "„" + std::string(text) + "“";
}

}  // namespace

CommandLine parseCommandLine(std::span<const std::string_view> arguments)
{
    CommandLine result;
    BatchOptions& options = result.options;
    bool resultsGiven = false;
    bool itemsGiven = false;
    bool onlyPaths = false;

    // Takes the file name of an option, either attached ("--items=F", "-oF") or the next
    // argument.
    auto fileOf = [&](std::size_t& i, std::string_view name, std::string_view attached,
                      bool hasAttached, bool& given, std::string& target) -> std::string {
        if (given)
            return quoted(name) + " ist mehrfach angegeben";
        given = true;
        if (hasAttached) {
            target = std::string(attached);
        } else if (i + 1 < arguments.size()) {
            target = std::string(arguments[++i]);
        } else {
            return "zu " + quoted(name) + " fehlt der Dateiname";
        }
        if (target.empty())
            return "zu " + quoted(name) + " fehlt der Dateiname";
        return {};
    };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (onlyPaths || argument.size() < 2 || argument[0] != '-') {
            options.paths.emplace_back(argument);
            continue;
        }
        std::string problem;
        if (argument == "--") {
            onlyPaths = true;
        } else if (argument == "-h" || argument == "--help") {
            result.action = CommandLine::Action::Help;
            return result;
        } else if (argument == "--reports") {
            options.reports = true;
        } else if (argument.starts_with("-o") && !argument.starts_with("--")) {
            problem = fileOf(i, "-o", argument.substr(2), argument.size() > 2, resultsGiven,
                options.resultsFile);
        } else if (argument == "--items" || argument.starts_with("--items=")) {
            const bool attached = argument.size() > 7;
            problem = fileOf(i, "--items", attached ? argument.substr(8) : std::string_view{},
                attached, itemsGiven, options.itemsFile);
        } else {
            problem = "unbekannte Option " + quoted(argument);
        }
        if (!problem.empty())
            return failure(std::move(problem));
    }

    if (options.paths.empty())
        return failure("keine Antwortdatei und kein Ordner angegeben");
    if (options.resultsFile == kStandardOutput)
        options.resultsFile.clear();
    if (options.resultsFile.empty() && options.itemsFile == kStandardOutput)
        return failure(
            "Ergebnistabelle und Itemanalyse können nicht beide auf die Standardausgabe");
    if (!options.resultsFile.empty() && options.resultsFile == options.itemsFile)
        return failure("Ergebnistabelle und Itemanalyse dürfen nicht dieselbe Datei sein");
    return result;
}

}  // namespace quendral::batch
