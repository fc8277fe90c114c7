// The writers of three files whose readers belong to the world model:
// "sea_nodes.csv" (the sea graph's nodes), "relations.csv" (who is at war
// with whom) and "losses.csv" (casualties dealt between countries). Rows and
// columns run in the order of the world's country vector, which is id order.
#pragma once

#include <string_view>

class cWorld;

// Each writes "<folder>\<file>" with the save writer's convention.
void WriteSeaNodes(const cWorld& world, std::wstring_view folder);
void WriteRelations(const cWorld& world, std::wstring_view folder);
void WriteLosses(const cWorld& world, std::wstring_view folder);
