// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace brightsum {

// The sum a game asks for; None until the first game is chosen from the menus.
enum class Operation { None, Addition, Subtraction };

// The sign the question line shows between the two picks (lblOper).
constexpr const char* operationSign(Operation operation) {
    switch (operation) {
        case Operation::Addition:
            return "+";
        case Operation::Subtraction:
            return "-";
        case Operation::None:
            break;
    }
    return "";
}

}  // namespace brightsum
