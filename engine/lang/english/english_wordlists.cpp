#include "lang/english/english_tables.h"
namespace kotari { namespace english {
const WordRecord kShortformWordList[kShortformWordCount] = {};
const WordRecord kExceptionWordList[kExceptionWordCount] = {};
}}
