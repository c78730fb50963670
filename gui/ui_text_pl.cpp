// The Polish interface texts. Stored as UTF-8, the toolkit's encoding.
#include "gui/ui_text.h"

namespace {

// Trailing blanks and spellings are part of the texts.
const UiTextEntry table[] = {
    {0, "Kelvo -Fluxeria v1.0"},
    {1, "&Wyjście\tAlt-F4\tZamknij Program."},
    {2, "Plik"},
    {4, "&Nowa Siatka\tCtl-N\tStwórz nową siatkę. "},
    {5, "Właściwości Siatki"},
    {6, "Wielkość Siatki"},
    {8, "NX"},
    {9, "NY"},
    {10, "Szerokość"},
    {11, "Wysokość"},
    {12, "&Nowa Siatka\tCtl-S\tStwórz Nową Siatkę."},
    {13, "Typ Komórki"},
    {15, "&Poruszający się Brzeg\tM\tBrzeg poruszający się z ustaloną prędkością."},
    {16, "&Brzeg z poślizgiem\tS\tBrzeg z warunkiem całkowitego poślizgu."},
    {17, "&Brzeg bez poślizgu\tN\tBrzeg z warunkiem braku poślizgu."},
    {18, "&Wpływ\tI\tŹródło (wpływ) cieczy."},
    {19, "&Wypływ\tO\tKomórka wypływowa cieczy."},
    {20, "Właściwości Komórki"},
    {21, "Pozioma Składowa Prędkości w Komórce"},
    {22, "Pionowa Składowa Prędkości w Komórce"},
    {24, "Brzeg poruszający się z ustaloną prędkością"},
    {25, "Brzeg z warunkiem całkowitego poślizgu"},
    {26, "Brzeg z warunkiem braku poślizgu"},
    {27, "Źródło (wpływ) cieczy"},
    {28, "Komórka wypływowa cieczy"},
    {29, "Info o Komórce"},
    {30, "i"},
    {31, "j"},
    {33, "x vel"},
    {34, "y vel"},
    {35, "&Obliczenia\tCtl-C\tObliczenia, Rendering i zapis symulacji."},
    {36, "\t\tObliczenia, Rendering i zapis symulacji."},
    {37, "&Start\tCtl-S\tRozpocznij Obliczenia i Rendering."},
    {38, "&Wschód\tE\tKomórka Wschodnia."},
    {39, "&Zachód\tW\tKomórka Zachodnia."},
    {40, "&Północ\tN\tKomórka Północna."},
    {41, "&Południe\tS\tKomórka Południowa."},
    {42, "&Ładuj Siatkę..\tCtl-L\tZaładuj Siatkę z Pliku."},
    {43, "&Zapisz Siatkę Jako..\tCtl-S\tZapisz Siatkę do Pliku."},
    {44, "\t\tZaładuj Siatkę z Pliku."},
    {45, "\t\tZapisz Siatkę do Pliku."},
    {46, "\t\tDtwórz Nową Siatkę. "},
    {47, "Nie można otworzyć pliku!"},
    {48, "To nie jest plik *.grid!"},
    {49, "&Pomoc\tCtl-H\tPomoc Programu"},
    {50, "&O Programie\tCtl-A\tO Programie..."},
    {52, "Komórki Brzegowe"},
    {53, "Linie Prądu"},
    {54, "Pole Prędkości X (czerwony)"},
    {55, "Pole Prędkości Y (zielony)"},
    {56, "Pole Ciśnienia (niebieski)"},
    {57, "Wektory Prędkości"},
    {58, "Elementy Wizualizacji"},
    {59, "Oblicz Przepływ"},
    {60, "Komórki"},
    {61, "Właściwości Symulacji"},
    {62, "Bezwymiarowa Liczba Reynoldsa"},
    {63, "Krok Czasowy DT"},
    {64, "Metoda Zapisu"},
    {65, "żadna"},
    {66, "Animacja .avi"},
    {67, "Klatki w formacie .ppm"},
    {68, "Wielkość Obszaru Wizualizacji"},
    {69, "Zapis co X klatkę"},
    {70, "Prędkość X komórek cieczy"},
    {71, "Prędkość Y komórek cieczy"},
};

}  // namespace

// The text of an entry, or nullptr for a key the table does not hold.
const char* uiTextPolish(int key)
{
    return findUiText(table, key);
}
