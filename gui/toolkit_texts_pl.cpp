// The toolkit's texts in Polish, stored as UTF-8. The English side is the
// toolkit's text to the letter: tabs separate a button's label, tooltip and
// status-line help, "&" marks the underlined key, "%s" stays in place.
#include "gui/toolkit_texts.h"

#include <cstring>

namespace {

const ToolkitText table[] = {
    // The file dialog.
    {"&File Name:", "&Nazwa pliku:"},
    {"File F&ilter:", "&Filtr plików:"},
    {"Directory:", "Katalog:"},
    {"Read Only", "Tylko do odczytu"},
    {"&OK", "&OK"},
    {"&Cancel", "&Anuluj"},
    {"Name", "Nazwa"},
    {"Type", "Typ"},
    {"Size", "Rozmiar"},
    {"Modified Date", "Data zmiany"},
    {"User", "Użytkownik"},
    {"Group", "Grupa"},
    {"Attributes", "Atrybuty"},
    {"Link", "Dowiązanie"},
    {"&Set bookmark\t\tBookmark current directory.", "&Dodaj zakładkę\t\tDodaj bieżący katalog do zakładek."},
    {"&Clear bookmarks\t\tClear bookmarks.", "&Usuń zakładki\t\tUsuń wszystkie zakładki."},
    {"\tGo up one directory\tMove up to higher directory.", "\tKatalog wyżej\tPrzejdź do katalogu nadrzędnego."},
    {"\tGo to home directory\tBack to home directory.", "\tKatalog domowy\tWróć do katalogu domowego."},
    {"\tGo to work directory\tBack to working directory.", "\tKatalog roboczy\tWróć do katalogu roboczego."},
    {"\tBookmarks\tVisit bookmarked directories.", "\tZakładki\tPrzejdź do katalogu z zakładek."},
    {"\tCreate new directory\tCreate new directory.", "\tNowy katalog\tUtwórz nowy katalog."},
    {"\tShow list\tDisplay directory with small icons.", "\tLista\tPokaż katalog z małymi ikonami."},
    {"\tShow icons\tDisplay directory with big icons.", "\tIkony\tPokaż katalog z dużymi ikonami."},
    {"\tShow details\tDisplay detailed directory listing.", "\tSzczegóły\tPokaż szczegółową listę katalogu."},
    {"\tHide Hidden Files\tHide hidden files and directories.", "\tUkryj ukryte pliki\tUkryj ukryte pliki i katalogi."},
    {"\tShow hidden files\tShow hidden files and directories.", "\tPokaż ukryte pliki\tPokaż ukryte pliki i katalogi."},
    // The file list's menu under the right button.
    {"Up one level", "Katalog wyżej"},
    {"Home directory", "Katalog domowy"},
    {"Work directory", "Katalog roboczy"},
    {"Select all", "Zaznacz wszystko"},
    {"Sort by", "Sortuj według"},
    {"Sorting", "Sortowanie"},
    {"Time", "Czas"},
    {"Reverse", "Odwrotnie"},
    {"Ignore case", "Bez rozróżniania wielkości liter"},
    {"View", "Widok"},
    {"Small icons", "Małe ikony"},
    {"Big icons", "Duże ikony"},
    {"Details", "Szczegóły"},
    {"Rows", "Wierszami"},
    {"Columns", "Kolumnami"},
    {"Hidden files", "Ukryte pliki"},
    {"Preview images", "Podgląd obrazów"},
    {"Normal images", "Obrazy normalne"},
    {"Medium images", "Obrazy średnie"},
    {"Giant images", "Obrazy olbrzymie"},
    {"Bookmarks", "Zakładki"},
    {"Set bookmark", "Dodaj zakładkę"},
    {"Clear bookmarks", "Usuń zakładki"},
    {"New directory...", "Nowy katalog..."},
    {"Copy...", "Kopiuj..."},
    {"Move...", "Przenieś..."},
    {"Link...", "Dowiąż..."},
    {"Delete...", "Usuń..."},
    // What the dialog asks and tells when a directory is made.
    {"Create New Directory", "Nowy katalog"},
    {"Create new directory with name: ", "Nazwa nowego katalogu: "},
    {"Create new directory in: ", "Nowy katalog w: "},
    {"Already Exists", "Już istnieje"},
    {"File or directory %s already exists.", "Plik lub katalog %s już istnieje."},
    {"Cannot Create", "Nie można utworzyć"},
    {"Cannot create directory %s.", "Nie można utworzyć katalogu %s."},
    // The message boxes' buttons.
    {"&Yes", "&Tak"},
    {"&No", "&Nie"},
    {"&Quit", "&Zakończ"},
    {"&Save", "&Zapisz"},
    {"&Don't Save", "&Nie zapisuj"},
    {"&Skip", "&Pomiń"},
    {"Skip &All", "Pomiń &wszystkie"},
};

}  // namespace

const char* toolkitTextPolish(const char* english)
{
    if (!english)
        return nullptr;
    for (const ToolkitText& text : table)
        if (std::strcmp(text.english, english) == 0)
            return text.translated;
    return nullptr;
}
