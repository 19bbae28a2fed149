// The entity types of a level, read from "data/maps/entitytypes.cfg" and found by name.
#pragma once

#include "world/EntityType.h"

#include <map>
#include <memory>
#include <string>

class EntityTypeManager
{
  public:
    EntityTypeManager() = default;
    ~EntityTypeManager();
    EntityTypeManager(const EntityTypeManager&) = delete;
    EntityTypeManager& operator=(const EntityTypeManager&) = delete;

    // Adds the types of the file; scale is the tile size in pixels. False only when the file cannot be
    // opened.
    bool InitEntityTypes(const std::string& file, unsigned scale);
    EntityType* GetEntityType(const std::string& name);
    void ClearEntityTypes();
    // Advances every type's animation, in name order; once per logic update.
    void Tick();

    std::map<std::string, std::unique_ptr<EntityType>> mEntityTypes;
};
