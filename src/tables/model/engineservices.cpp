#include "tables/model/engineservices.h"

#include "tables/model/variables.h"

namespace kova::tables {

TEngineServices EngineServices;

void ResetEngineServices() { EngineServices = TEngineServices{}; }

void ResetEngine() {
    // The state first: tables leaving may still use the services (the
    // sound they stop).
    ResetEngineState();
    ResetEngineServices();
}

}  // namespace kova::tables
