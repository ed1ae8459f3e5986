#include "core/GP_PROC_Steps.h"

// Rows by case 1..6; columns by possessor 0..3 (noun) or by kind 1..5 (numeral).
const TNounCell NounSteps[6][4] = {
    {{{}}, {{Suffix(7)}}, {{Suffix(8)}}, {{ThirdPerson(9)}}},                                           // base
    {{{Suffix(2)}}, {{Suffix(7), Suffix(2)}}, {{Suffix(8), Suffix(2)}}, {{ThirdPerson(9), Suffix(2)}}}, // genitive
    {{{Suffix(3, 2)}},
     {{Suffix(7), Suffix(31)}},
     {{Suffix(8), Suffix(31)}},
     {{ThirdPerson(9), Suffix(31, 1)}}}, // dative
    {{{Suffix(4, 2)}},
     {{Suffix(7), Suffix(4, 2)}},
     {{Suffix(8), Suffix(4, 2)}},
     {{ThirdPerson(9), Suffix(9, 1)}}}, // accusative
    {{{Suffix(5)}},
     {{Suffix(7), Suffix(5)}},
     {{Suffix(8), Suffix(5)}},
     {{ThirdPerson(9), Suffix(9, 1), Suffix(5)}}}, // ablative
    {{{Suffix(6)}},
     {{Suffix(7), Suffix(6)}},
     {{Suffix(8), Suffix(6)}},
     {{ThirdPerson(9), Suffix(9, 1), Suffix(6)}}}, // locative
};

const TNumeralCell NumeralSteps[6][5] = {
    {{{}}, {{13}}, {{14}}, {{15}}, {{16}}}, // base
    {{{2}}, {{13, 2}}, {{}}, {{}}, {{}}},   // genitive
    {{{3}}, {{13, 3}}, {{}}, {{}}, {{}}},   // dative
    {{{4}}, {{13, 4}}, {{}}, {{}}, {{}}},   // accusative
    {{{5}}, {{13, 5}}, {{}}, {{}}, {{}}},   // ablative
    {{{6}}, {{13, 6}}, {{}}, {{}}, {{}}},   // locative
};

// Rows: infinitive, verbal noun, imperative, conditional, then the five tenses of the indicative;
// columns: 1 sg, 1 pl, 2 sg, 2 pl, 3 sg, 3 pl.
const TVerbCell PositiveVerbSteps[9][6] = {
    // infinitive
    {
        /* 1 sg */ {{InfinitiveHead()}},
        /* 1 pl */ {{InfinitiveHead()}},
        /* 2 sg */ {{InfinitiveHead()}},
        /* 2 pl */ {{InfinitiveHead()}},
        /* 3 sg */ {{InfinitiveHead()}},
        /* 3 pl */ {{InfinitiveHead()}},
    },
    // verbal noun
    {
        /* 1 sg */ {{VerbalNounHead()}},
        /* 1 pl */ {{VerbalNounHead()}},
        /* 2 sg */ {{VerbalNounHead()}},
        /* 2 pl */ {{VerbalNounHead()}},
        /* 3 sg */ {{VerbalNounHead()}},
        /* 3 pl */ {{VerbalNounHead()}},
    },
    // imperative; the first person singular follows ый as a vowel (языйм)
    {
        /* 1 sg */ {{Strip(), StrippedHarmonyEnding(20), Ending(7, 4, 7)}},
        /* 1 pl */ {{Strip(), StrippedHarmonyEnding(20), Ending(10, 5)}},
        /* 2 sg */ {{Alternate(), ImperativePlaceholder()}},
        /* 2 pl */ {{Ending(34)}},
        /* 3 sg */ {{Ending(22)}},
        /* 3 pl */ {{Ending(22), Ending(1)}},
    },
    // conditional
    {
        /* 1 sg */ {{Ending(23), Ending(7, 4)}},
        /* 1 pl */ {{Ending(23), Ending(10, 5)}},
        /* 2 sg */ {{Ending(23), Ending(8, 4)}},
        /* 2 pl */ {{Ending(23), Ending(34)}},
        /* 3 sg */ {{Ending(23)}},
        /* 3 pl */ {{Ending(23), Ending(1)}},
    },
    // present
    {
        /* 1 sg */ {{PresentHead(), Ending(7, 4)}},
        /* 1 pl */ {{PresentHead(), Ending(10, 6)}},
        /* 2 sg */ {{PresentHead(), Ending(8, 3)}},
        /* 2 pl */ {{PresentHead(), Ending(11, 0, 7)}},
        /* 3 sg */ {{PresentHead()}},
        /* 3 pl */ {{PresentHead(), Ending(1)}},
    },
    // past definite
    {
        /* 1 sg */ {{Ending(25), Ending(7, 4)}},
        /* 1 pl */ {{Ending(25), Ending(10, 5)}},
        /* 2 sg */ {{Ending(25), Ending(8, 4)}},
        /* 2 pl */ {{Ending(25), Ending(34)}},
        /* 3 sg */ {{Ending(25)}},
        /* 3 pl */ {{Ending(25), Ending(1)}},
    },
    // past indefinite
    {
        /* 1 sg */ {{Ending(26), Ending(7, 3)}},
        /* 1 pl */ {{Ending(26), Ending(10, 6)}},
        /* 2 sg */ {{Ending(26), Ending(8, 3)}},
        /* 2 pl */ {{Ending(26), Ending(11, 0, 7)}},
        /* 3 sg */ {{Ending(26)}},
        /* 3 pl */ {{Ending(26), Ending(1)}},
    },
    // future definite
    {
        /* 1 sg */ {{Ending(28), Ending(7, 3)}},
        /* 1 pl */ {{Ending(28), Ending(10, 6)}},
        /* 2 sg */ {{Ending(28), Ending(8, 3)}},
        /* 2 pl */ {{Ending(28), Ending(11, 0, 7)}},
        /* 3 sg */ {{Ending(28)}},
        /* 3 pl */ {{Ending(28), Ending(1)}},
    },
    // future indefinite
    {
        /* 1 sg */ {{StemKeyEnding(27), Ending(7, 3)}},
        /* 1 pl */ {{StemKeyEnding(27), Ending(10, 6)}},
        /* 2 sg */ {{StemKeyEnding(27), Ending(8, 3)}},
        /* 2 pl */ {{StemKeyEnding(27), Ending(11, 0, 7)}},
        /* 3 sg */ {{StemKeyEnding(27)}},
        /* 3 pl */ {{StemKeyEnding(27), Ending(1)}},
    },
};

const TVerbCell NegativeVerbSteps[9][6] = {
    // infinitive
    {
        /* 1 sg */ {{Ending(18)}},
        /* 1 pl */ {{Ending(18)}},
        /* 2 sg */ {{Ending(18)}},
        /* 2 pl */ {{Ending(18)}},
        /* 3 sg */ {{Ending(18)}},
        /* 3 pl */ {{Ending(18)}},
    },
    // verbal noun
    {
        /* 1 sg */ {{Ending(29, 5), Ending(19)}},
        /* 1 pl */ {{Ending(29, 5), Ending(19)}},
        /* 2 sg */ {{Ending(29, 5), Ending(19)}},
        /* 2 pl */ {{Ending(29, 5), Ending(19)}},
        /* 3 sg */ {{Ending(29, 5), Ending(19)}},
        /* 3 pl */ {{Ending(29, 5), Ending(19)}},
    },
    // imperative; the first person negates with мый, ми as the present does (бармыйм, бармыйк)
    {
        /* 1 sg */ {{Ending(33, 6), Ending(7, 4)}},
        /* 1 pl */ {{Ending(33, 6), Ending(10, 5)}},
        /* 2 sg */ {{Ending(29, 5)}},
        /* 2 pl */ {{Ending(29, 5), Ending(34)}},
        /* 3 sg */ {{Ending(29, 5), Ending(22)}},
        /* 3 pl */ {{Ending(29, 5), Ending(22), Ending(1)}},
    },
    // conditional
    {
        /* 1 sg */ {{Ending(29, 5), Ending(23), Ending(7, 4)}},
        /* 1 pl */ {{Ending(29, 5), Ending(23), Ending(10, 5)}},
        /* 2 sg */ {{Ending(29, 5), Ending(23), Ending(8, 4)}},
        /* 2 pl */ {{Ending(29, 5), Ending(23), Ending(34)}},
        /* 3 sg */ {{Ending(29, 5), Ending(23)}},
        /* 3 pl */ {{Ending(29, 5), Ending(23), Ending(1)}},
    },
    // present
    {
        /* 1 sg */ {{Ending(33, 6), Ending(7, 4)}},
        /* 1 pl */ {{Ending(33, 6), Ending(10, 6)}},
        /* 2 sg */ {{Ending(33, 6), Ending(8, 3)}},
        /* 2 pl */ {{Ending(33, 6), Ending(11, 0, 7)}},
        /* 3 sg */ {{Ending(33, 6)}},
        /* 3 pl */ {{Ending(33, 6), Ending(1)}},
    },
    // past definite
    {
        /* 1 sg */ {{Ending(29, 5), Ending(25), Ending(7, 4)}},
        /* 1 pl */ {{Ending(29, 5), Ending(25), Ending(10, 5)}},
        /* 2 sg */ {{Ending(29, 5), Ending(25), Ending(8, 4)}},
        /* 2 pl */ {{Ending(29, 5), Ending(25), Ending(34)}},
        /* 3 sg */ {{Ending(29, 5), Ending(25)}},
        /* 3 pl */ {{Ending(29, 5), Ending(25), Ending(1)}},
    },
    // past indefinite
    {
        /* 1 sg */ {{Ending(29, 5), Ending(26), Ending(7, 3)}},
        /* 1 pl */ {{Ending(29, 5), Ending(26), Ending(10, 6)}},
        /* 2 sg */ {{Ending(29, 5), Ending(26), Ending(8, 3)}},
        /* 2 pl */ {{Ending(29, 5), Ending(26), Ending(11, 0, 7)}},
        /* 3 sg */ {{Ending(29, 5), Ending(26)}},
        /* 3 pl */ {{Ending(29, 5), Ending(26), Ending(1)}},
    },
    // future definite
    {
        /* 1 sg */ {{Ending(29, 5), Ending(28), Ending(7, 3)}},
        /* 1 pl */ {{Ending(29, 5), Ending(28), Ending(10, 6)}},
        /* 2 sg */ {{Ending(29, 5), Ending(28), Ending(8, 3)}},
        /* 2 pl */ {{Ending(29, 5), Ending(28), Ending(11, 0, 7)}},
        /* 3 sg */ {{Ending(29, 5), Ending(28)}},
        /* 3 pl */ {{Ending(29, 5), Ending(28), Ending(1)}},
    },
    // future indefinite
    {
        /* 1 sg */ {{Ending(29, 5), Ending(7, 4)}},
        /* 1 pl */ {{Ending(29, 5), Ending(10, 6)}},
        /* 2 sg */ {{Ending(33), Ending(8, 3)}},
        /* 2 pl */ {{Ending(33), Ending(11, 0, 7)}},
        /* 3 sg */ {{Ending(33)}},
        /* 3 pl */ {{Ending(33), Ending(1)}},
    },
};
