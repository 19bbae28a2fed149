// Fuzzes the entity type table reader: every type is stored under its own name, flags follow the values.
#include "FuzzSupport.h"

#include "world/EntityTypeManager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::WriteBytes("fuzz_entitytypes.cfg", data, size);
    EntityTypeManager types;
    if (!types.InitEntityTypes("fuzz_entitytypes.cfg", 16))
    {
        fuzz::Fail("an existing entity type file could not be opened");
    }
    for (const auto& [name, type] : types.mEntityTypes)
    {
        if (name != type->mName || types.GetEntityType(name) != type.get())
        {
            fuzz::Fail("entity type stored under another name: " + name);
        }
        if (type->mHasValue != (type->mValue != 0))
        {
            fuzz::Fail("value flag does not follow the value for " + name);
        }
    }
    types.Tick();
    return 0;
}
