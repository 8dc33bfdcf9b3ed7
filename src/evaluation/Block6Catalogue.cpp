#include "Catalogue.h"

namespace quendral {

namespace {

// Q, option, control, caption, byte, {left, top, width, height}, label sizing
// clang-format off
constexpr CatalogueRow kRows[] = {
    {1, '-', "Label1", "1. Beschreiben Sie einen modernen DV-Arbeitsplatz       einer Projektleitung", -1, {16, 16, 366, 32}, Sizing::Wrap},
    {1, 'a', "CheckBox1", "Büro-Software", 381, {32, 48, 300, 17}},
    {1, 'b', "CheckBox2", "Kommunikations-Software", 382, {32, 64, 300, 17}},
    {1, 'c', "CheckBox3", "Zeitplan-Software", 383, {32, 80, 300, 17}},
    {1, 'd', "CheckBox4", "PM-Software", 384, {32, 96, 300, 17}},
    {2, '-', "Label2", "2. Wie sollte die Ablage des Projektes gegliedert sein?", -1, {16, 128, 382, 16}, Sizing::Auto},
    {2, 'a', "CheckBox5", "Nach Verantwortungsbereichen", 385, {32, 144, 300, 17}},
    {2, 'b', "CheckBox6", "Nach Projektergebnissen", 386, {32, 160, 300, 17}},
    {2, 'c', "CheckBox7", "Nach Meilensteinen", 387, {32, 176, 300, 17}},
    {2, 'd', "CheckBox8", "Nach Anfall der Arbeit", 388, {32, 192, 300, 17}},
};
// clang-format on

}  // namespace

const ReviewCatalogue kBlock6Catalogue{
    .block = 6,
    .windowCaption = "Wiederholungsfragen zu Kapitel 6: PM-Software-Werkzeuge",
    .heading = "Fragen zu Kapitel 6: PM-Software-Werkzeuge",
    .outerWidth = 686,
    .outerHeight = 330,
    .contentHeight = 282,
    .logo = {456, 24, 129, 129},
    .footerControl = "Label3",
    .footer = {17, 267, 422, 15},
    .closeButton = {464, 200, 121, 33},
    .tabSwap = 0,
    .rows = kRows,
};

}  // namespace quendral
