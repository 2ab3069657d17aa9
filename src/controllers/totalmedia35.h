// TotalMedia 3.5: found by its title alone, closed by Alt+F4, driven by
// keyboard shortcuts; one map for the 35-key remote, one for every other.
// Two rows of the shared map follow the board's nBoardVariant byte; the
// ArcSoft TV 5.0 maps, close relatives, reuse that mechanism.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controllers/actions.h"

// A scan code whose action depends on nBoardVariant: `inList` for the listed
// variants, `otherwise` for every other value.
struct BoardVariantRow {
    std::uint32_t nCode;
    std::uint8_t variants[5];
    std::uint8_t nVariants;
    Action inList;
    Action otherwise;
};

// The row for `code` on this board: the variant row's choice when there is
// one, else the table's row; nullptr when the code is unmapped. The chosen
// variant action is copied into `scratch`.
const KeyRow* BoardVariantLookup(const KeyRow* table, std::size_t count,
                                 const BoardVariantRow* variants, std::size_t nVariants,
                                 std::uint32_t code, KeyRow& scratch);

os::Hwnd TotalMedia35FindMainWindow();
