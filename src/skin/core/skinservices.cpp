#include "skin/core/skinservices.h"

namespace kova::skin {

TSkinServices& SkinServices() {
    static TSkinServices services;
    return services;
}

void ResetSkinServices() { SkinServices() = TSkinServices{}; }

}  // namespace kova::skin
