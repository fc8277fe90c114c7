// The references between the files of a folder that no single reader can
// check, because the record referred to is read later: the countries of
// units, fleets and commanders (countries.csv comes after them) and the sea
// nodes of fleets (sea_nodes.csv comes in the second pass). A reference to
// a record that does not exist is a fatal data error naming both files.
#pragma once

class cWorld;

// After countries.csv: every land, air and naval unit, fleet and commander
// belongs to a country of the file.
void CheckCountryReferences(const cWorld& world);
// After sea_nodes.csv: every fleet stands on a node of the sea graph.
void CheckFleetSeaNodes(const cWorld& world);
