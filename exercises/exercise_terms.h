#pragma once
// The keys of an exercise file that set how the work is timed and marked, beside the title:
//   time_limit = "10:00"   minutes and seconds for the whole work;
//   exam = true            verdicts kept from the trainee until the end;
//   pass = 4               exams: how many items right pass (all of them when not given).
// Only the exercise file's reader includes this (it needs toml++).

#include "exercises/exercise.h"

#include <toml++/toml.h>

namespace tarvel {

struct TermsRead {
    ExerciseTerms terms;
    int faultLine = 0; // where the fault was found
    QString fault;     // set when a key is wrong; the terms then mean nothing
};

// `items`: how many pieces of work the file asks for, the most a pass mark may be.
TermsRead readTerms(const toml::table& root, qsizetype items);

} // namespace tarvel
