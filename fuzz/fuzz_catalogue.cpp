// Fuzzes the compiled catalogue reader: any bytes are read or refused without reading outside them, and a
// catalogue read answers every look-up, plural forms included, with a form it holds.
#include "FuzzSupport.h"

#include "io/MoCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of exactly the bytes given, so the sanitizer sees any read past them.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MoCatalog catalogue;
    if (!catalogue.Parse(bytes))
    {
        if (catalogue.Size() != 0)
        {
            fuzz::Fail("a refused catalogue kept messages");
        }
        return 0;
    }
    for (const char* message : {"New Game", "%1 level", "", "Options"})
    {
        catalogue.Find(message);
        for (unsigned long count : {0ul, 1ul, 2ul, 5ul, 11ul, 22ul, 101ul, 4294967295ul})
        {
            catalogue.FindPlural(message, count);
            if (catalogue.Rule().Form(count) >= catalogue.Rule().Count())
            {
                fuzz::Fail("the plural rule named a form past its count");
            }
        }
    }
    return 0;
}
