#include "CommandLine.h"

namespace quendral::batch {

const char* const kUsageLine
    = "Aufruf: quendral-batch [-o ERGEBNIS.csv] [--items FRAGEN.csv] [--blocks BLÖCKE.csv]\n"
      "                      [--pdf KURSBERICHT.pdf] [--reports] PFAD...\n"
      "Mehr dazu mit „quendral-batch --help“.\n";

const char* const kHelpText
    = "Aufruf: quendral-batch [-o ERGEBNIS.csv] [--items FRAGEN.csv] [--blocks BLÖCKE.csv]\n"
      "                      [--pdf KURSBERICHT.pdf] [--reports] PFAD...\n"
      "\n"
      "Wertet viele Quendral-Antwortdateien ohne Fenster aus. Jeder PFAD ist eine\n"
      "Antwortdatei oder ein Ordner; aus einem Ordner werden dessen Dateien *.dat in\n"
      "Namensfolge genommen, eine ausdrücklich genannte Datei auch unter anderem Namen.\n"
      "\n"
      "Die Ergebnistabelle hat eine Zeile je Antwortdatei: Datei, die Prozente der\n"
      "sechs Blöcke (leer bei einem nicht bearbeiteten Block), die übereinstimmenden\n"
      "Optionen (Punkte) und die Optionen der bearbeiteten Blöcke. Alle Tabellen sind\n"
      "CSV-Dateien mit Semikolon, in UTF-8 mit Byte-Order-Mark und CR LF, so dass eine\n"
      "Tabellenkalkulation sie in Spalten öffnet; Zahlen mit Dezimalkomma.\n"
      "\n"
      "Optionen:\n"
      "  -o DATEI        die Ergebnistabelle in DATEI schreiben statt auf die\n"
      "                  Standardausgabe („-o -“: auf die Standardausgabe)\n"
      "  --items DATEI   die Itemanalyse in DATEI schreiben: je Antwortoption die Zahl\n"
      "                  der Teilnehmer, die ihren Block bearbeitet haben, der Anteil\n"
      "                  von ihnen, deren Kreuz mit dem Lösungsschlüssel übereinstimmt,\n"
      "                  und der Anteil, der sie angekreuzt hat (in %), die\n"
      "                  Trennschärfe, der Trennindex 27 % und ein Hinweis\n"
      "  --blocks DATEI  die Blocktabelle in DATEI schreiben: je Block Teilnehmer,\n"
      "                  Mittelwert, Median, Standardabweichung, Minimum und Maximum\n"
      "                  der Prozente, Cronbachs Alpha und der Messfehler in Punkten\n"
      "  --pdf DATEI     den Kursbericht als PDF (A4) in DATEI schreiben: Übersicht,\n"
      "                  Blocktabelle mit Boxplots, Ergebnistabelle, Itemkarte und die\n"
      "                  Optionen mit Hinweis; dazu ist kein Bildschirm nötig\n"
      "  --reports       neben jede Antwortdatei ihre Detailauswertung schreiben\n"
      "                  (Quendral.dat: Quendral-Detail.txt), wie das Auswerteprogramm\n"
      "                  sie schreibt, wenn jeder bearbeitete Block einmal geöffnet wird\n"
      "  -h, --help      diese Hilfe zeigen\n"
      "\n"
      "„-“ als DATEI von --items, --blocks oder --pdf schreibt auf die Standardausgabe\n"
      "(dann mit -o für die Ergebnistabelle); nur eine Ausgabe kann dorthin gehen.\n"
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

std::string germanList(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? " und " : ", ";
        text += names[i];
    }
    return text;
}

CommandLine parseCommandLine(std::span<const std::string_view> arguments)
{
    CommandLine result;
    BatchOptions& options = result.options;
    struct FileOption {
        std::string_view name;
        std::string* target;
        bool given = false;
    };
    FileOption fileOptions[] = {{"-o", &options.resultsFile}, {"--items", &options.itemsFile},
        {"--blocks", &options.blocksFile}, {"--pdf", &options.pdfFile}};
    bool onlyPaths = false;

    // The file name of an option, either attached ("--items=F", "-oF") or the next argument.
    auto fileOf = [&](std::size_t& i, FileOption& option, std::string_view attached,
                      bool hasAttached) -> std::string {
        if (option.given)
            return quoted(option.name) + " ist mehrfach angegeben";
        option.given = true;
        if (hasAttached)
            *option.target = std::string(attached);
        else if (i + 1 < arguments.size())
            *option.target = std::string(arguments[++i]);
        if (option.target->empty())
            return "zu " + quoted(option.name) + " fehlt der Dateiname";
        return {};
    };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (onlyPaths || argument.size() < 2 || argument[0] != '-') {
            options.paths.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyPaths = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (argument == "--reports") {
            options.reports = true;
            continue;
        }
        std::string problem = "unbekannte Option " + quoted(argument);
        for (FileOption& option : fileOptions) {
            const bool isShort = option.name.size() == 2;
            if (isShort && argument.starts_with(option.name) && !argument.starts_with("--")) {
                problem = fileOf(i, option, argument.substr(2), argument.size() > 2);
                break;
            }
            if (!isShort && argument.starts_with(option.name)) {
                const std::string_view rest = argument.substr(option.name.size());
                if (rest.empty() || rest.starts_with('=')) {
                    problem = fileOf(i, option, rest.substr(rest.empty() ? 0 : 1), !rest.empty());
                    break;
                }
            }
        }
        if (!problem.empty())
            return failure(std::move(problem));
    }

    if (options.paths.empty())
        return failure("keine Antwortdatei und kein Ordner angegeben");
    if (options.resultsFile == kStandardOutput)
        options.resultsFile.clear();

    std::vector<std::string> onStandardOutput;
    for (const BatchOptions::Output& output : options.outputs()) {
        const bool isResults = output.file == &options.resultsFile;
        if (isResults ? output.file->empty() : *output.file == kStandardOutput)
            onStandardOutput.emplace_back(output.what);
    }
    if (onStandardOutput.size() > 1)
        return failure(germanList(onStandardOutput)
            + (onStandardOutput.size() == 2 ? " können nicht beide" : " können nicht alle")
            + " auf die Standardausgabe");

    const auto outputs = options.outputs();
    for (std::size_t a = 0; a < outputs.size(); ++a) {
        for (std::size_t b = a + 1; b < outputs.size(); ++b) {
            const std::string& first = *outputs[a].file;
            if (!first.empty() && first != kStandardOutput && first == *outputs[b].file)
                return failure(std::string(outputs[a].what) + " und " + outputs[b].what
                    + " dürfen nicht dieselbe Datei sein");
        }
    }
    return result;
}

}  // namespace quendral::batch
