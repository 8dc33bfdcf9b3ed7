#include "Catalogue.h"

namespace quendral {

namespace {

// Q, option, control, caption, byte, {left, top, width, height}, label sizing
// clang-format off
constexpr CatalogueRow kRows[] = {
    {1, '-', "Label1", "1. Was haben Projekte gemeinsam?", -1, {16, 8, 249, 16}, Sizing::Auto},
    {1, 'a', "CheckBox1", "Interdisziplinäres Arbeiten", 41, {32, 24, 300, 17}},
    {1, 'b', "CheckBox2", "Lange Durchlaufzeiten, z.B. über 6 Monate", 42, {32, 40, 300, 17}},
    {1, 'c', "CheckBox3", "Personifizierte Verantwortung", 43, {32, 56, 300, 17}},
    {1, 'd', "CheckBox4", "Gewisse Komplexität und Neuigkeitscharakter", 44, {32, 72, 300, 17}},
    {2, '-', "Label2", "2. Was ist Projektmanagement?", -1, {16, 88, 218, 16}, Sizing::Auto},
    {2, 'a', "CheckBox5", "Eine Modeerscheinung", 45, {32, 104, 300, 17}},
    {2, 'b', "CheckBox6", "Ein Werkzeugkasten", 46, {32, 120, 300, 17}},
    {2, 'c', "CheckBox7", "Ein Führungskonzept", 47, {32, 136, 300, 17}},
    {2, 'd', "CheckBox8", "Ein Formalismus", 48, {32, 152, 300, 17}},
    {3, '-', "Label3", "3. Was kostet PM?", -1, {16, 168, 128, 16}, Sizing::Auto},
    {3, 'a', "CheckBox9", "Nichts", 49, {32, 184, 300, 17}},
    {3, 'b', "CheckBox10", "Unter 2% der Gesamtkosten", 50, {32, 200, 300, 17}},
    {3, 'c', "CheckBox11", "Zwischen 2% und 12% der Gesamtkosten", 51, {32, 216, 300, 17}},
    {3, 'd', "CheckBox12", "Über 12% der Gesamtkosten", 52, {32, 232, 300, 17}},
    {4, '-', "Label4", "4. Wie können Sie PM-Kosten sparen?", -1, {16, 248, 263, 16}, Sizing::Auto},
    {4, 'a', "CheckBox13", "PM weglassen", 53, {32, 264, 300, 17}},
    {4, 'b', "CheckBox14", "Durch Standardisierung", 54, {32, 280, 300, 17}},
    {4, 'c', "CheckBox15", "Durch Erfahrung", 55, {32, 296, 300, 17}},
    {4, 'd', "CheckBox16", "Durch kompetente Mitarbeiter", 56, {32, 312, 300, 17}},
    {5, '-', "Label5", "5. Was sind die Erfolgsfaktoren für Projektarbeit      aus der Praxis?", -1, {16, 328, 334, 32}, Sizing::Wrap},
    {5, 'a', "CheckBox17", "Teamarbeit", 57, {32, 360, 300, 17}},
    {5, 'b', "CheckBox18", "Systematik", 58, {32, 376, 300, 17}},
    {5, 'c', "CheckBox19", "Visualisierung", 59, {32, 392, 300, 17}},
    {5, 'd', "CheckBox20", "Klare Zielsetzung", 60, {32, 408, 300, 17}},
    {6, '-', "Label6", "6. Welche Prozesse im Projekt kennen Sie?", -1, {16, 423, 300, 16}, Sizing::Auto},
    {6, 'a', "CheckBox21", "Organisation", 61, {32, 439, 300, 17}},
    {6, 'b', "CheckBox22", "Methodeneinsatz", 62, {32, 455, 300, 17}},
    {6, 'c', "CheckBox23", "Technik", 63, {32, 471, 300, 17}},
    {6, 'd', "CheckBox24", "Führung und Team", 64, {32, 487, 300, 17}},
    {7, '-', "Label7", "7. Welche Arten von Projekten haben wir      Ihnen vorgestellt?", -1, {16, 503, 282, 32}, Sizing::Wrap},
    {7, 'a', "CheckBox25", "Auftragsprojekte", 65, {32, 535, 300, 17}},
    {7, 'b', "CheckBox26", "Neue Projekte", 66, {32, 551, 300, 17}},
    {7, 'c', "CheckBox27", "Innovations-/Produktprojekte", 67, {32, 567, 300, 17}},
    {7, 'd', "CheckBox28", "Organisations-/DV-Projekte", 68, {32, 583, 300, 17}},
    {8, '-', "Label8", "8. Welche Nutzenpotentiale gibt es durch       Projektarbeit?", -1, {432, 247, 290, 32}, Sizing::Wrap},
    {8, 'a', "CheckBox29", "Klare Projektsteuerung", 69, {448, 279, 300, 17}},
    {8, 'b', "CheckBox30", "Mehrere Alternativen", 70, {448, 295, 300, 17}},
    {8, 'c', "CheckBox31", "Zeitgewinn", 71, {448, 311, 300, 17}},
    {8, 'd', "CheckBox32", "Ruhe und Gelassenheit", 72, {448, 327, 300, 17}},
    {9, '-', "Label9", "9. Was sind hard facts aus der Projektarbeit?", -1, {432, 343, 310, 16}, Sizing::Auto},
    {9, 'a', "CheckBox33", "Kompetenz", 73, {448, 359, 300, 17}},
    {9, 'b', "CheckBox34", "Strukturen", 74, {448, 375, 300, 17}},
    {9, 'c', "CheckBox35", "Methoden", 75, {448, 391, 300, 17}},
    {9, 'd', "CheckBox36", "Streitsucht", 76, {448, 407, 300, 17}},
    {10, '-', "Label10", "10. Was sind soft facts aus der Projektarbeit?", -1, {424, 423, 312, 16}, Sizing::Auto},
    {10, 'a', "CheckBox37", "Art der Kommunikation", 77, {448, 439, 300, 17}},
    {10, 'b', "CheckBox38", "Stimmungen", 78, {448, 455, 300, 17}},
    {10, 'c', "CheckBox39", "Beziehungen", 79, {448, 471, 300, 17}},
    {10, 'd', "CheckBox40", "Emotionaltät", 80, {448, 487, 300, 17}},
};
// clang-format on

}  // namespace

const ReviewCatalogue kBlock1Catalogue{
    .block = 1,
    .windowCaption = "Wiederholungsfragen zu Kapitel 1: Über- und Einblick",
    .heading = "Fragen zu Kapitel 1: Über- und Einblick",
    .outerWidth = 778,
    .outerHeight = 680,
    .contentHeight = 630,
    .logo = {600, 32, 129, 129},
    .footerControl = "Label11",
    .footer = {16, 615, 422, 15},
    .closeButton = {448, 536, 153, 33},
    .tabSwap = 29,
    .rows = kRows,
};

}  // namespace quendral
