#pragma once

// Runs the registered benchmarks and then prints, for every group "group/name", each member's
// time as a ratio to the member named "base" measured in the same run.
namespace meravo::bench {

int esegui_con_rapporti(int argc, char** argv);

} // namespace meravo::bench
