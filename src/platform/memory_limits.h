#pragma once
// Limits set on this process's memory by whoever started it.

namespace trimlet {

// Whether the process's address space or data size is limited (`ulimit -v`, `ulimit -d`).
// Every thread that allocates reserves address space of its own, so a second thread may
// fail a run that fits such a limit with one.
bool AddressSpaceIsLimited();

}  // namespace trimlet
