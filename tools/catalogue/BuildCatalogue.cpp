// Builds the starter catalogue from its text source:
//   kalvo_catalogue OUTPUT.mdb SOURCE.txt...
// Categories are written in the order given; the currency file comes first (CategoryId 1).
#include "tools/catalogue/CatalogueSource.h"
#include "tools/catalogue/CatalogueWriter.h"

#include "store/DaoException.h"
#include "store/Utf8.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace
{
std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CatalogueSourceError("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::cerr << "usage: kalvo_catalogue OUTPUT.mdb SOURCE.txt...\n";
        return 2;
    }
    try
    {
        std::vector<SourceCategory> categories;
        for (int i = 2; i < argc; ++i)
            categories.push_back(ParseCategorySource(ReadFile(argv[i]), argv[i]));
        const std::string output = argv[1];
        const std::string partial = output + ".partial";
        std::remove(partial.c_str());
        WriteCatalogue(FromUtf8(partial), categories);
        std::remove(output.c_str());
        if (std::rename(partial.c_str(), output.c_str()) != 0)
            throw CatalogueSourceError("cannot move " + partial + " to " + output);
        std::size_t units = 0;
        for (const auto& category : categories)
            units += category.units.size();
        std::cout << output << ": " << categories.size() << " categories, " << units << " units\n";
        return 0;
    }
    catch (const std::exception& e)
    {
        std::cerr << "kalvo_catalogue: " << e.what() << "\n";
        return 1;
    }
}
