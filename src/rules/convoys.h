// Convoys at the end of an impulse: they sail and deliver.
#pragma once

class cWorld;

// Interim entry point of the end of an impulse; does nothing yet.
void ExecuteConvoys(cWorld& world);
