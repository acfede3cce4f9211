// Every numeric OS/2 member as X(member, offset in the table, stored type,
// first version that has it), written down from the table's published layout
// so that tests do not take it from the model they check.
#pragma once

// clang-format off
#define FONTAB_OS2_FIELDS(X)                                                                   \
    X(version, 0, U16, 0)              X(xAvgCharWidth, 2, S16, 0)                             \
    X(usWeightClass, 4, U16, 0)        X(usWidthClass, 6, U16, 0)                              \
    X(fsType, 8, U16, 0)               X(ySubscriptXSize, 10, S16, 0)                          \
    X(ySubscriptYSize, 12, S16, 0)     X(ySubscriptXOffset, 14, S16, 0)                        \
    X(ySubscriptYOffset, 16, S16, 0)   X(ySuperscriptXSize, 18, S16, 0)                        \
    X(ySuperscriptYSize, 20, S16, 0)   X(ySuperscriptXOffset, 22, S16, 0)                      \
    X(ySuperscriptYOffset, 24, S16, 0) X(yStrikeoutSize, 26, S16, 0)                           \
    X(yStrikeoutPosition, 28, S16, 0)  X(sFamilyClass, 30, S16, 0)                             \
    X(ulUnicodeRange1, 42, U32, 0)     X(ulUnicodeRange2, 46, U32, 0)                          \
    X(ulUnicodeRange3, 50, U32, 0)     X(ulUnicodeRange4, 54, U32, 0)                          \
    X(fsSelection, 62, U16, 0)         X(usFirstCharIndex, 64, U16, 0)                         \
    X(usLastCharIndex, 66, U16, 0)     X(sTypoAscender, 68, S16, 0)                            \
    X(sTypoDescender, 70, S16, 0)      X(sTypoLineGap, 72, S16, 0)                             \
    X(usWinAscent, 74, U16, 0)         X(usWinDescent, 76, U16, 0)                             \
    X(ulCodePageRange1, 78, U32, 1)    X(ulCodePageRange2, 82, U32, 1)                         \
    X(sxHeight, 86, S16, 2)            X(sCapHeight, 88, S16, 2)                               \
    X(usDefaultChar, 90, U16, 2)       X(usBreakChar, 92, U16, 2)                              \
    X(usMaxContext, 94, U16, 2)                                                                \
    X(usLowerOpticalPointSize, 96, U16, 5) X(usUpperOpticalPointSize, 98, U16, 5)
// clang-format on
