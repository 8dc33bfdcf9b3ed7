#include "Catalogue.h"

#include <array>

namespace quendral {

const ReviewCatalogue& reviewCatalogue(int block)
{
    static const std::array<const ReviewCatalogue*, 6> all{&kBlock1Catalogue, &kBlock2Catalogue,
        &kBlock3Catalogue, &kBlock4Catalogue, &kBlock5Catalogue, &kBlock6Catalogue};
    return *all[static_cast<std::size_t>(block - 1)];
}

}  // namespace quendral
