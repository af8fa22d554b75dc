#pragma once
// The characters Chinese line breaking treats specially, as cells.
#include <string_view>

namespace mirel {

// ! , . : ; ? % ) ] } 、 。 ’ ” 〕 〉 》 」 』 〗 】 ！ ， ． ： ； ？ ） ］ ｝
bool MayNotStartRow(unsigned char first, unsigned char second);
// ( [ { ‘ “ 〔 〈 《 「 『 〖 【 （ ［ ｛
bool MayNotEndRow(unsigned char first, unsigned char second);
// A–Z, a–z, 0–9 in a single-byte cell: the characters Latin word wrap keeps together.
constexpr bool IsWordCell(unsigned char first, unsigned char second)
{
    return second == 0 && ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z') ||
                           (first >= '0' && first <= '9'));
}

}  // namespace mirel
