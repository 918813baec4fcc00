#include "DocumentCatalogue.h"

#include "Cp1251.h"

namespace {
using documents::ToCp1251;

// Each file name is stored whole: row 4's is the document's full title, not its caption.
constexpr auto kFile1 = ToCp1251("МСФО 20.doc");
constexpr auto kFile2 = ToCp1251("МСФО 41.doc");
constexpr auto kFile3 = ToCp1251("Закон РК от 10 марта 2004 года № 533-II.doc");
constexpr auto kFile4 = ToCp1251("Методические рекомендации по применению МСБУ 41.doc");
constexpr auto kFile5 = ToCp1251("Налоговая учетная политика.doc");
} // namespace

const std::array<DocumentEntry, 5> DocumentCatalogue = {{
    {"Button1", "МСФО 20", "DOC1", kFile1.c_str()},
    {"Button2", "МСФО 41", "DOC2", kFile2.c_str()},
    {"Button3", "Закон РК от 10 марта 2004 года № 533-II", "DOC3", kFile3.c_str()},
    {"Button4", "МСБУ 41", "DOC4", kFile4.c_str()},
    {"Button5", "Налоговая учетная политика", "DOC5", kFile5.c_str()},
}};
