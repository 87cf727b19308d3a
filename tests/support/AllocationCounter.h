// Counts operator new calls on this thread between the two calls.
#pragma once

#include <cstddef>

void StartCountingAllocations();
std::size_t StopCountingAllocations();
