// The entity type table reader and the registry of a level's entity types.
#include "world/EntityTypeManager.h"

#include "graphics/Utils.h"
#include "io/FieldReader.h"

#include <vector>

EntityTypeManager::~EntityTypeManager()
{
    ClearEntityTypes();
}

bool EntityTypeManager::InitEntityTypes(const std::string& file, unsigned scale)
{
    FieldReader reader(file);
    if (!reader.IsOpen())
    {
        return false;
    }
    std::vector<std::string> fields;
    while (reader.NextLine(fields))
    {
        if (fields.size() < 8 || mEntityTypes.count(fields[1]) != 0)
        {
            continue; // short lines define nothing; the first definition of a name stays
        }
        auto type = std::make_unique<EntityType>();
        type->Init(fields[0], fields[1], Utils::ConvertString<unsigned>(fields[2], false) * scale,
                   Utils::ConvertString<unsigned>(fields[3], false) * scale,
                   Utils::ConvertString<unsigned>(fields[4], false),
                   Utils::ConvertString<bool>(fields[5], false), Utils::ConvertString<bool>(fields[6], false),
                   Utils::ConvertString<double>(fields[7], false));
        mEntityTypes.emplace(fields[1], std::move(type));
    }
    return true;
}

EntityType* EntityTypeManager::GetEntityType(const std::string& name)
{
    auto found = mEntityTypes.find(name);
    return found == mEntityTypes.end() ? nullptr : found->second.get();
}

void EntityTypeManager::ClearEntityTypes()
{
    mEntityTypes.clear();
}

void EntityTypeManager::Tick()
{
    for (auto& entry : mEntityTypes)
    {
        entry.second->Tick();
    }
}
