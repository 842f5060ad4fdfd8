#include "CSampleNames.h"

#include "editor/model/CTextCase.h"

#include <array>

namespace {

using Words = std::vector<const char*>;

struct SCulture {
    Words townStarts;
    Words townEnds;
    Words clubPatterns; // "%" stands for the town
    Words firstNames;
    Words lastStarts;
    Words lastEnds;
    Words divisions; // division names from the top; the last repeats with a number
    Words stadiumPatterns;
};

const std::vector<CSampleNames::SCountry> kCountries = {
    {"England", 5, 1, 1},  {"España", 4, 2, 5},    {"Deutschland", 4, 3, 3}, {"Italia", 4, 4, 4},
    {"France", 4, 5, 2},   {"Nederland", 3, 6, 7}, {"Sverige", 3, 7, 6},     {"Portugal", 3, 8, 8},
    {"Scotland", 3, 9, 1}, {"Polska", 2, 10, 1},   {"Česko", 2, 11, 1},      {"Türkiye", 2, 12, 1},
    {"Ελλάδα", 2, 13, 1},  {"Россия", 2, 14, 1},   {"日本", 1, 15, 11},      {"한국", 1, 16, 12},
};

const std::vector<SCulture>& Cultures() {
    static const std::vector<SCulture> cultures = {
        {{"Ash",   "Brad", "Chester", "Dun",   "Wex", "Brom", "Hal",  "Mill", "Stan", "Wor",
          "Kings", "Nor",  "Castle",  "Black", "Red", "Sut",  "Hart", "Glen", "Lang", "Marl"},
         {"ford", "ton", "bury", "ham", "wick", "field", "mouth", "ley", "by", "caster", "pool",
          "borough", "stead", "dale", "gate"},
         {"% United", "% Town", "% City", "% Rovers", "% Athletic", "% Albion", "%", "% Wanderers"},
         {"Jack", "Harry", "Tom", "James", "Oliver", "Danny", "Steven", "Gary", "Lee", "Wayne",
          "Paul", "Mark", "Chris", "Ryan", "Jamie", "Michael"},
         {"Ash", "Brad", "Cart", "Hol", "Mor", "Wil", "Thom", "Rob", "Fletch", "Bark", "Good",
          "Wood", "Hay", "Stock"},
         {"ley", "son", "er", "ton", "well", "ham", "ridge", "wood", "by", "field"},
         {"Premier Division", "Championship", "League One", "League Two", "National League"},
         {"% Park", "% Road", "% Lane", "% Ground"}},
        {{"Vall", "Alba", "Mont", "Casa", "Villa", "Puerto", "San", "Torre", "Cór", "Lé", "Alcá",
          "Jaé", "Bena"},
         {"dolid", "cete", "serrat", "nueva", "real", "llano", "doba", "ón", "zar", "rica", "vente",
          "mar"},
         {"Real %", "CD %", "UD %", "Atlético %", "Deportivo %", "SD %", "% CF", "Racing %"},
         {"José", "Raúl", "Iñaki", "Sergio", "Álvaro", "Andrés", "Íker", "Rubén", "Jesús",
          "Fernando", "Xabi", "Joaquín"},
         {"Fer", "Rodr", "Mart", "Sánch", "Góm", "Hern", "Lóp", "Muñ", "Ib", "Yáñ"},
         {"nández", "íguez", "ínez", "ez", "áñez", "oz", "ado", "arra"},
         {"Primera División", "Segunda División", "Segunda División B", "Tercera División"},
         {"Estadio %", "Campo de %", "Estadio Municipal de %"}},
        {{"Alten", "Neu", "Ober", "Unter", "Rot", "Bad", "Groß", "Schön", "Stein", "Mühl", "Wald",
          "Fürst"},
         {"burg", "dorf", "hausen", "berg", "feld", "heim", "bach", "stadt", "au", "ingen"},
         {"FC %", "SV %", "VfB %", "Borussia %", "1. FC %", "TSV %", "Eintracht %", "SpVgg %"},
         {"Jürgen", "Lukas", "Jörg", "Stefan", "Matthias", "Uwe", "Sören", "Björn", "Michael",
          "Thomas", "Bastian"},
         {"Müll", "Schn", "Wag", "Beck", "Schäf", "Kö", "Hoff", "Schw", "Zimm", "Krü"},
         {"er", "eider", "ner", "mann", "ler", "arz", "ger", "hardt"},
         {"Bundesliga", "2. Bundesliga", "Regionalliga", "Oberliga"},
         {"%-Stadion", "%arena", "Sportpark %"}},
        {{"Castel", "Monte", "Porto", "Villa", "San", "Ponte", "Borgo", "Fiore", "Roc", "Acqua"},
         {"franco", "verde", "nova", "rosa", "lungo", "vecchio", "bello", "calda", "mare"},
         {"AC %", "US %", "%", "Sporting %", "Calcio %", "Virtus %", "Pro %"},
         {"Niccolò", "Andrea", "Luca", "Fabio", "Daniele", "Gianluca", "Mattia", "Nicolò",
          "Francesco", "Alessandro"},
         {"Ross", "Bian", "Ferr", "Espos", "Ricc", "Mar", "Gall", "Con", "Bru", "Santo"},
         {"i", "chi", "ari", "ito", "ini", "etti", "one", "ello"},
         {"Serie A", "Serie B", "Serie C1", "Serie C2"},
         {"Stadio %", "Stadio Comunale di %", "Campo %"}},
        {{"Saint-", "Mont", "Beau", "Ville", "Châte", "Roche", "Belle", "Fontaine", "Val"},
         {"étienne", "pellier", "vais", "franche", "aubriand", "fort", "ville", "bleau", "mont"},
         {"FC %", "Olympique %", "AS %", "Stade %", "Racing Club %", "US %", "SC %"},
         {"Théo", "Jérôme", "François", "Zinédine", "Émile", "Raphaël", "Hugo", "Noël", "Loïc",
          "Benoît"},
         {"Dub", "Mar", "Ber", "Lef", "Gir", "Mor", "Rou", "Fon"},
         {"ois", "tin", "nard", "èvre", "aud", "eau", "ssel", "taine"},
         {"Division 1", "Division 2", "National", "CFA"},
         {"Stade %", "Parc de %", "Stade Municipal de %"}},
        {{"Zwol", "Haar", "Amers", "Gronin", "Eind", "Venlo", "Dord", "Heeren", "Alk", "Leeu"},
         {"le", "lem", "foort", "gen", "hoven", "veen", "recht", "maar", "warden", "dam"},
         {"FC %", "%", "SC %", "VV %", "Sparta %", "Go Ahead %"},
         {"Ruud", "Dirk", "Joost", "Wesley", "Rafael", "Arjen", "Pieter", "Bram"},
         {"van der ", "de ", "van ", "Jans", "Bak", "Vis"},
         {"Berg", "Jong", "Dijk", "sen", "ker", "ser", "Vaart", "Meer"},
         {"Eredivisie", "Eerste Divisie", "Tweede Divisie"},
         {"%stadion", "Sportpark %", "De %"}},
        {{"Åker", "Öster", "Väster", "Norr", "Hels", "Kal", "Ljung", "Sunds", "Gävle", "Ö"},
         {"berga", "sund", "ås", "köping", "vall", "ingborg", "mar", "by", "hamn"},
         {"IF %", "% FF", "% BK", "IFK %", "% AIK", "% IS"},
         {"Zlatan", "Björn", "Fredrik", "Anders", "Henrik", "Olof", "Måns", "Sören"},
         {"Lind", "Berg", "Ström", "Sjö", "Ny", "Häll", "Ek", "Lund"},
         {"qvist", "berg", "ström", "gren", "dahl", "ström", "holm"},
         {"Allsvenskan", "Superettan", "Division 1"},
         {"%vallen", "% Arena", "%s IP"}},
        {{"Vila ", "Porto", "Braga", "Far", "Coim", "Beira", "Guima", "Ave", "Setú"},
         {"Real", "nhense", "ro", "bra", "mar", "rães", "iro", "bal"},
         {"SC %", "FC %", "Sporting %", "Académica de %", "CD %", "União %"},
         {"João", "Luís", "Nuno", "Rui", "Simão", "Tiago", "Conceição", "Gonçalo"},
         {"Gonç", "Silv", "Araú", "Magalh", "Sous", "Ribeir", "Figu"},
         {"alves", "a", "jo", "ães", "eira", "o"},
         {"Primeira Liga", "Liga de Honra", "Segunda Divisão"},
         {"Estádio %", "Estádio Municipal de %", "Campo %"}},
        {{"Kil", "Dun", "Aber", "Inver", "Glen", "Ard", "Loch", "Strath", "Kirk"},
         {"marnock", "dee", "ness", "rothes", "ock", "caldy", "lyon", "tyre", "bride"},
         {"% Thistle", "% Athletic", "% FC", "Queen of %", "% Rangers", "% Academicals"},
         {"Angus", "Callum", "Fraser", "Hamish", "Euan", "Craig", "Alistair"},
         {"Mac", "Mc", "Camp", "Stew", "Rob", "Fergu"},
         {"Donald", "Kay", "bell", "art", "ertson", "son"},
         {"Premier League", "First Division", "Second Division"},
         {"% Park", "% Stadium", "%field"}},
        {{"Wro", "Szcze", "Łódź", "Gdań", "Byd", "Kiel", "Lub", "Chorz", "Zab"},
         {"cław", "cin", "sk", "goszcz", "ce", "lin", "ów", "rze"},
         {"Legia %", "Lech %", "Wisła %", "Górnik %", "Śląsk %", "Polonia %"},
         {"Łukasz", "Grzegorz", "Paweł", "Jakub", "Bartosz", "Michał"},
         {"Kowal", "Wiśniew", "Lewandow", "Zieliń", "Szymań", "Woźniak"},
         {"ski", "ska", "icz", "ak"},
         {"Ekstraklasa", "I liga"},
         {"Stadion %", "Stadion Miejski %"}},
        {{"Ostr", "Plz", "Liber", "Olo", "Brn", "Hradec ", "Přer", "Tepl", "Jablon"},
         {"ava", "eň", "ec", "mouc", "o", "Králové", "ov", "ice"},
         {"Baník %", "Slavia %", "FC %", "SK %", "Viktoria %", "Dukla %"},
         {"Tomáš", "Jiří", "Petr", "Radek", "Vladimír", "Pavel"},
         {"Nedvěd", "Dvoř", "Čech", "Poborsk", "Rosick", "Šmic"},
         {"", "ák", "ý", "er"},
         {"1. liga", "2. liga"},
         {"Stadion %", "Městský stadion %"}},
        {{"Tra", "Bur", "Sam", "Kay", "Ana", "Konya", "Diyar", "Eskiş", "Gazi"},
         {"bzon", "sa", "sun", "seri", "lya", "spor", "bakır", "ehir", "antep"},
         {"%spor", "% Belediyespor", "% Gençlerbirliği", "%"},
         {"Hakan", "Rüştü", "Tuncay", "Emre", "Ümit", "İlhan", "Nihat"},
         {"Şükür", "Reçber", "Şanlı", "Belözoğ", "Davala", "Mansız", "Kahveci"},
         {"", "lu", "oğlu"},
         {"Süper Lig", "1. Lig"},
         {"% Stadyumu", "% Atatürk Stadyumu"}},
        {{"Αθή", "Πειρ", "Λάρ", "Ξάν", "Βόλ", "Ηρά", "Καλ", "Σέρ"},
         {"να", "αιάς", "ισα", "θη", "ος", "κλειο", "αμάτα", "ρες"},
         {"Ολυμπιακός %", "Πανιώνιος %", "Άρης %", "ΑΕ %", "Ηρακλής %", "Εθνικός %"},
         {"Γιώργος", "Νίκος", "Άγγελος", "Κώστας", "Θοδωρής"},
         {"Παπαδό", "Καρα", "Χαριστέ", "Ζαγορά", "Βρύζα"},
         {"πουλος", "γιάννης", "ας", "κης"},
         {"Άλφα Εθνική", "Βήτα Εθνική"},
         {"Στάδιο %", "Γήπεδο %"}},
        {{"Мос", "Вол", "Сама", "Ростов", "Каза", "Перм", "Томс", "Омс"},
         {"ква", "гоград", "ра", "-на-Дону", "нь", "ь", "к", "ко"},
         {"Динамо %", "Спартак %", "Торпедо %", "Локомотив %", "Крылья %", "Зенит %"},
         {"Андрей", "Дмитрий", "Сергей", "Игорь", "Александр", "Владимир"},
         {"Иван", "Смир", "Кузне", "Попо", "Соко", "Морозо"},
         {"ов", "нов", "цов", "в"},
         {"Премьер-лига", "Первый дивизион"},
         {"Стадион %", "Арена %"}},
        {{"東", "横", "大", "名古", "札", "広", "仙", "浦"},
         {"京", "浜", "阪", "屋", "幌", "島", "台", "和"},
         {"%FC", "%ユナイテッド", "%SC", "%レッズ"},
         {"Hiroshi", "Takeshi", "Kenji", "Shunsuke", "Daisuke", "Yūki", "Shinji"},
         {"Naka", "Yama", "Suzu", "Taka", "Inamo", "Ono", "Ko"},
         {"mura", "moto", "ki", "hashi", "to", "da"},
         {"Jリーグ"},
         {"%スタジアム", "%競技場"}},
        {{"서", "부", "대", "인", "광", "수", "울", "전"},
         {"울", "산", "구", "천", "주", "원", "산", "남"},
         {"%FC", "% 유나이티드", "% 시티즌", "% 현대"},
         {"Ji-sung", "Young-pyo", "Chun-soo", "Jae-jin", "Min-soo", "Dong-gook"},
         {"Park", "Lee", "Kim", "Ahn", "Seol", "Cha"},
         {"", ""},
         {"K리그"},
         {"% 월드컵경기장", "% 종합운동장"}},
    };
    return cultures;
}

const char* Pick(CSampleRandom& random, const Words& words) {
    return words[static_cast<size_t>(random.Range(0, static_cast<int32_t>(words.size()) - 1))];
}

std::string Fill(const std::string& pattern, const std::string& town) {
    std::string out = pattern;
    const size_t at = out.find('%');
    if (at != std::string::npos)
        out.replace(at, 1, town);
    return out;
}

// Number of UTF-8 bytes of the first count characters.
size_t PrefixBytes(const std::string& s, int count) {
    size_t i = 0;
    for (int n = 0; n < count && i < s.size(); ++n) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            ++i;
    }
    return i;
}

} // namespace

const std::vector<CSampleNames::SCountry>& CSampleNames::Countries() {
    return kCountries;
}

std::string CSampleNames::LeagueName(int country, int division) const {
    const Words& divisions = Cultures()[country].divisions;
    if (division < static_cast<int>(divisions.size()))
        return std::string(kCountries[country].name) + " " + divisions[division];
    return std::string(kCountries[country].name) + " " + divisions.back() + " " +
           std::to_string(division - divisions.size() + 2);
}

std::string CSampleNames::LeagueShortName(int country, int division) const {
    const Words& divisions = Cultures()[country].divisions;
    return division < static_cast<int>(divisions.size())
               ? std::string(divisions[division])
               : std::string(divisions.back()) + " " +
                     std::to_string(division - divisions.size() + 2);
}

std::string CSampleNames::Town(int country) {
    const SCulture& culture = Cultures()[country];
    return std::string(Pick(m_random, culture.townStarts)) + Pick(m_random, culture.townEnds);
}

std::string CSampleNames::TeamName(int country, std::string& town) {
    const SCulture& culture = Cultures()[country];
    for (int attempt = 0;; ++attempt) {
        town = Town(country);
        std::string name = Fill(Pick(m_random, culture.clubPatterns), town);
        if (attempt > 20)
            name += " " + std::to_string(attempt);
        if (m_usedTeams.insert(name).second)
            return name;
    }
}

std::string CSampleNames::ShortName(const std::string& name) {
    return CTextCase::ToUpper(name.substr(0, PrefixBytes(name, 3)));
}

std::string CSampleNames::FirstName(int country) {
    return Pick(m_random, Cultures()[country].firstNames);
}

std::string CSampleNames::LastName(int country) {
    const SCulture& culture = Cultures()[country];
    return std::string(Pick(m_random, culture.lastStarts)) + Pick(m_random, culture.lastEnds);
}

std::string CSampleNames::StadiumName(int country, bool training) {
    const SCulture& culture = Cultures()[country];
    const std::string town = Town(country);
    if (training)
        return town + " Training Ground";
    return Fill(Pick(m_random, culture.stadiumPatterns), town);
}
