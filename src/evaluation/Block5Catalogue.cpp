#include "Catalogue.h"

namespace quendral {

namespace {

// Q, option, control, caption, byte, {left, top, width, height}, label sizing
// clang-format off
constexpr CatalogueRow kRows[] = {
    {1, '-', "Label1", "1. Was geschieht bei der Abnahme im Projekt?", -1, {8, 10, 322, 16}, Sizing::Wrap},
    {1, 'a', "CheckBox1", "Technische Funktionserfüllung", 361, {24, 26, 300, 17}},
    {1, 'b', "CheckBox2", "Gefahrenübergang", 362, {24, 42, 300, 17}},
    {1, 'c', "CheckBox3", "Dokumentationsübergabe", 363, {24, 58, 300, 17}},
    {1, 'd', "CheckBox4", "Rechnungsstellung", 364, {24, 74, 300, 17}},
    {2, '-', "Label2", "2. Was sollte ein Projektabschluss-Bericht beinhalten?", -1, {8, 90, 375, 16}, Sizing::Wrap},
    {2, 'a', "CheckBox5", "Eigene Zufriedenheit darstellen", 365, {24, 114, 300, 17}},
    {2, 'b', "CheckBox6", "Mitarbeiterbeschimpfung", 366, {24, 130, 300, 17}},
    {2, 'c', "CheckBox7", "Zielabgleich", 367, {24, 146, 300, 17}},
    {2, 'd', "CheckBox8", "Verbesserungspotentiale", 368, {24, 162, 300, 17}},
    {3, '-', "Label3", "3. Was soll im Rahmen des Projektabschlusses erledigt werden?", -1, {8, 178, 447, 16}, Sizing::Wrap},
    {3, 'a', "CheckBox9", "Erfahrungssicherung", 369, {24, 194, 300, 17}},
    {3, 'b', "CheckBox10", "Schuldzuweisung", 370, {24, 210, 300, 17}},
    {3, 'c', "CheckBox11", "Kostenerschließung", 371, {24, 226, 300, 17}},
    {3, 'd', "CheckBox12", "Unterlagenarchivierung", 372, {24, 242, 300, 17}},
    {4, '-', "Label4", "4. Was geschieht auf einem Erfahrungsworkshop am Ende      eines Projektes?", -1, {16, 258, 403, 32}, Sizing::Wrap},
    {4, 'a', "CheckBox13", "Katzenjammer", 373, {24, 290, 300, 17}},
    {4, 'b', "CheckBox14", "Verbesserungspotentiale", 374, {24, 306, 300, 17}},
    {4, 'c', "CheckBox15", "Kritischer Blick zurück", 375, {24, 322, 300, 17}},
    {4, 'd', "CheckBox16", "Eigenlob", 376, {24, 338, 300, 17}},
    {5, '-', "Label5", "5. Weshalb werden in der Praxis Projekte so zaghaft abgeschlossen?", -1, {16, 354, 477, 16}, Sizing::Wrap},
    {5, 'a', "CheckBox17", "Mangelnde Dokumentation", 377, {24, 370, 300, 17}},
    {5, 'b', "CheckBox18", "Kunde verweigert Abnahme", 378, {24, 386, 300, 17}},
    {5, 'c', "CheckBox19", "Mängelliste noch offen", 379, {24, 402, 300, 17}},
    {5, 'd', "CheckBox20", "Faulheit des Projektleiters", 380, {24, 418, 300, 17}},
};
// clang-format on

}  // namespace

const ReviewCatalogue kBlock5Catalogue{
    .block = 5,
    .windowCaption = "Wiederholungsfragen zu Kapitel 5: Projektabschluss",
    .heading = "Fragen zu Kapitel 5: Projektabschluss",
    .outerWidth = 685,
    .outerHeight = 526,
    .contentHeight = 487,
    .logo = {528, 24, 129, 129},
    .footerControl = "Label6",
    .footer = {13, 472, 422, 15},
    .closeButton = {528, 312, 129, 33},
    .tabSwap = 0,
    .rows = kRows,
};

}  // namespace quendral
