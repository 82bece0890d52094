#include "interpreter/Evaluator.h"

#include "base/Error.h"
#include "base/StringUtility.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <string>
#include <vector>

namespace {

// ---- Module state ----

// Texts that objects share instead of owning (allocated 0); they are never written to.
char TrueText[] = "TRUE";
char FalseText[] = "FALSE";
char NotANumberText[] = "Not a number";
char ErrorText[] = "ERROR";
char SeparatorTexts[SeparatorCount][3] = {"/",  "*",  "-",  "+",  "==", "!=", ">", "<", ">=",
                                          "<=", "<~", "=~", ">~", "&&", "||", "|", "=", "~"};
constexpr const char* OperatorChars = "*/+-!=><&|~";
// Results of small-integer arithmetic beyond this magnitude become big integers, which keeps the
// product of two small integers inside the int range.
constexpr int SmallBound = 9999;
constexpr int SmallTextLength = 4;

// Objects are never given back to the heap: released ones wait in the store for reuse.
std::deque<MathObj> heapObjects;
std::vector<MathObj*> objectStore;
constexpr std::size_t StoreIncrement = 200;
constexpr std::size_t StoreReserve = 10;

MathObj sharedError{};
bool evaluatorReady = false;

// Sub-expressions and function calls recurse; a bound keeps hostile input off the stack's end.
constexpr int MaxNesting = 2000;
int nesting = 0;

struct NestingLevel {
    NestingLevel() { ++nesting; }
    ~NestingLevel() { --nesting; }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;
};

EvaluatorHooks hooks;

// ---- Texts on the heap ----

char* heapText(const char* text, std::size_t len) {
    auto* copy = static_cast<char*>(std::malloc(len + 1));
    if (!copy) {
        printErrorMessage("Out of memory in the expression evaluator\n");
        std::exit(1);
    }
    std::memcpy(copy, text, len);
    copy[len] = '\0';
    return copy;
}

char* heapText(const char* text) {
    return heapText(text, std::strlen(text));
}

bool isInteger(const MathObj* obj) {
    return obj->type == 'i' || obj->type == 'l';
}

bool isOperatorChar(char c) {
    return c != '\0' && std::strchr(OperatorChars, c) != nullptr;
}

bool isBlankOnly(const char* begin, const char* end) {
    for (; begin < end; ++begin)
        if (*begin != ' ')
            return false;
    return true;
}

// Number of backslashes standing immediately before position pos.
int backslashesBefore(const char* s, int pos) {
    int n = 0;
    while (pos - n > 0 && s[pos - n - 1] == '\\')
        ++n;
    return n;
}

bool unescaped(const char* s, int pos) {
    return backslashesBefore(s, pos) % 2 == 0;
}

// ---- Setting the payload ----

void setText(MathObj* obj, char* owned) {
    freeObjPointer(obj);
    obj->type = 's';
    obj->pointer.string = owned;
    obj->allocated = 1;
    obj->value = 0;
}

void setSharedText(MathObj* obj, char type, char* shared) {
    freeObjPointer(obj);
    obj->type = type;
    obj->pointer.string = shared;
    obj->allocated = 0;
    obj->value = 0;
}

void setInt(MathObj* obj, int value) {
    freeObjPointer(obj);
    obj->type = 'i';
    obj->value = value;
}

// A small-integer result, turned into a big integer when it leaves the small range.
void setIntResult(MathObj* obj, int value) {
    setInt(obj, value);
    if (value > SmallBound || value < -SmallBound)
        IntToLint(obj);
}

void setBoolean(MathObj* obj, bool truth) {
    setSharedText(obj, 'c', truth ? TrueText : FalseText);
    obj->value = truth ? 1 : 0;
}

void setLint(MathObj* obj, lint* owned) {
    freeObjPointer(obj);
    obj->type = 'l';
    obj->pointer.largeint = owned;
    obj->allocated = 1;
}

void setRat(MathObj* obj, lrat* owned) {
    freeObjPointer(obj);
    obj->type = 'r';
    obj->pointer.largerat = owned;
    obj->allocated = 1;
}

void setNotANumber(MathObj* obj) {
    setSharedText(obj, 'e', NotANumberText);
}

// A text that may be edited in place: shared texts are copied first.
void ownText(MathObj* obj) {
    if (!obj->allocated)
        setText(obj, heapText(obj->pointer.string));
}

// The payload taken out of the object, which is left a small integer 0.
lint* takeLint(MathObj* obj) {
    lint* x = obj->pointer.largeint;
    obj->allocated = 0;
    setInt(obj, 0);
    return x;
}

void negateLint(lint* x) {
    if (x->size > 0)
        lint_flip(x);
}

bool lintIsZero(const lint* x) {
    return x->size == 0;
}

MathObj* newErrorObj(const char* msg) {
    MathObj* obj = allocMathObj();
    CopyStringToMathObj(obj, msg);
    obj->type = 'e';
    return obj;
}

// The shared error object is never linked into a list: a copy takes its place.
MathObj* unshared(MathObj* obj) {
    return obj == &sharedError ? newErrorObj(ErrorText) : obj;
}

void storeObject(MathObj* obj) {
    if (objectStore.capacity() == 0)
        objectStore.reserve(StoreIncrement);
    else if (objectStore.capacity() - objectStore.size() < StoreReserve)
        objectStore.reserve(objectStore.capacity() + StoreIncrement);
    objectStore.push_back(obj);
}

// ---- Text to number ----

void StringToInt(MathObj* obj);

// Both parts of a text "a/b" as big integers.
void StringToRat(MathObj* obj) {
    if (obj->type != 's') {
        Alert("StringToRat", 0, 100101, "Invalid type \"%c\" in routine StringToRat", obj->type);
        MathObjToError(obj, "Non-convertible data");
        return;
    }
    char* slash = std::strchr(obj->pointer.string, '/');
    if (!slash) {
        Alert("StringToRat", 1, 100101, "Non-rational input \"%s\" in routine StringToRat",
              obj->pointer.string);
        MathObjToError(obj, "Non-rational number");
        return;
    }
    std::string numText(obj->pointer.string, slash);
    LintPtr num(lint_alloc(0));
    LintPtr den(lint_alloc(0));
    if (string_to_lint(num.get(), numText.c_str()) || string_to_lint(den.get(), slash + 1)) {
        setNotANumber(obj);
        return;
    }
    // A text with a zero denominator would pass an infinite value on as a number.
    if (lintIsZero(den.get())) {
        Alert("StringToRat", 2, 100101, "Divison by zero");
        MathObjToError(obj, "INFINITE");
        return;
    }
    if (den->sign < 0) {
        negateLint(den.get());
        negateLint(num.get());
    }
    setRat(obj, lrat_Alloc(num.release(), den.release()));
}

// An exact decimal: 0.25 is 25/100.
void StringToDouble(MathObj* obj) {
    if (obj->type != 's') {
        Alert("StringToDouble", 0, 100101, "Invalid type \"%c\" in routine StringToDouble",
              obj->type);
        MathObjToError(obj, "Non-convertible data");
        return;
    }
    std::string digits = obj->pointer.string;
    const std::size_t point = digits.find('.');
    const int decimals = static_cast<int>(digits.size() - point - 1);
    digits.erase(point, 1);
    LintPtr num(lint_alloc(0));
    if (string_to_lint(num.get(), digits.c_str())) {
        setNotANumber(obj);
        return;
    }
    LintPtr den(lint_alloc(0));
    lint_power(den.get(), 10, decimals);
    setRat(obj, lrat_Alloc(num.release(), den.release()));
}

void StringToInt(MathObj* obj) {
    if (obj->type != 's') {
        Alert("StringToInt", 0, 100101, "Invalid type \"%c\" in routine StringToInt", obj->type);
        MathObjToError(obj, "Non-convertible data");
        return;
    }
    ownText(obj);
    char* text = obj->pointer.string;
    unblankString(text);
    if (std::strchr(text, '/')) {
        StringToRat(obj);
    } else if (std::strchr(text, '.')) {
        StringToDouble(obj);
    } else if (std::strlen(text) > SmallTextLength) {
        LintPtr x(lint_alloc(lintSize(text)));
        if (string_to_lint(x.get(), text))
            setNotANumber(obj);
        else
            setLint(obj, x.release());
    } else {
        int value = 0;
        if (strnumChk(text, &value) != 0) {
            Alert("StringToInt", 1, 100101, "Non-numerical string: %s", text);
            setNotANumber(obj);
        } else {
            setInt(obj, value);
        }
    }
}

// ---- Variables ----

const char* lookupVariable(const char* name) {
    const char* value = hooks.findLocalReplacement ? hooks.findLocalReplacement(name) : nullptr;
    if (!value && hooks.findGlobalReplacement)
        value = hooks.findGlobalReplacement(name);
    return value;
}

// A text whose first word names a variable is replaced by the variable's value (one level).
void subs_vars(MathObj* obj) {
    if (obj->type != 's')
        return;
    const char* begin = obj->pointer.string;
    while (*begin == ' ')
        ++begin;
    const char* end = std::strchr(begin, ' ');
    std::string word = end ? std::string(begin, end) : std::string(begin);
    if (word.empty())
        return;
    if (const char* value = lookupVariable(word.c_str()))
        setText(obj, heapText(value));
}

int defaultDefineVariable(const char* name, const char*) {
    Alert("defineVariable", 1, 100101, "No variables available; %s not set", name);
    return 1;
}

// ---- Arithmetic ----

void int_division(MathObj* obj1, MathObj* obj2) {
    int a = obj1->value;
    int b = obj2->value;
    if (b == 0) {
        Alert("int_division", 0, 100101, "Divison by zero");
        MathObjToError(obj1, "INFINITE");
        return;
    }
    if (a % b == 0) {
        setInt(obj1, a / b);
        return;
    }
    if (b < 0) {
        a = -a;
        b = -b;
    }
    setRat(obj1, lrat_Alloc(int_to_newlint(a), int_to_newlint(b)));
}

bool comparisonHolds(int op, int cmp) {
    switch (op) {
    case SepEqual:
        return cmp == 0;
    case SepNotEqual:
        return cmp != 0;
    case SepGreater:
        return cmp > 0;
    case SepLess:
        return cmp < 0;
    case SepGreaterEqual:
        return cmp >= 0;
    default:
        return cmp <= 0;
    }
}

void int_operation(MathObj* obj1, MathObj* obj2, int op) {
    const int a = obj1->value;
    const int b = obj2->value;
    switch (op) {
    case SepDivide:
        int_division(obj1, obj2);
        return;
    case SepMultiply:
        setIntResult(obj1, a * b);
        return;
    case SepSubtract:
        setIntResult(obj1, a - b);
        return;
    case SepAdd:
        setIntResult(obj1, a + b);
        return;
    default:
        setBoolean(obj1, comparisonHolds(op, (a > b) - (a < b)));
    }
}

void lint_operation(MathObj* obj1, MathObj* obj2, int op) {
    lint* x = obj1->pointer.largeint;
    const lint* y = obj2->pointer.largeint;
    switch (op) {
    case SepDivide:
        lint_division(obj1, obj2);
        return;
    case SepMultiply:
        lint_multiply(x, y);
        return;
    case SepSubtract:
        lint_subtract(x, y);
        return;
    case SepAdd:
        lint_add(x, y);
        return;
    default:
        setBoolean(obj1, comparisonHolds(op, lint_compare(x, y)));
    }
}

// Both operands as big rationals; false (with obj1 the error) when one cannot be made one.
bool bothRational(MathObj* obj1, MathObj* obj2) {
    MathObjToRat(obj1);
    if (obj1->type == 'e')
        return false;
    MathObjToRat(obj2);
    if (obj2->type == 'e') {
        MathObjToError(obj1, obj2->pointer.string);
        return false;
    }
    // A boolean was reported by MathObjToRat and must not be used as a number.
    if (obj1->type != 'r' || obj2->type != 'r') {
        MathObjToError(obj1, "Non-convertible data");
        return false;
    }
    return true;
}

void ratDivide(MathObj* obj1, lrat* a, const lrat* b) {
    if (lintIsZero(b->num)) {
        Alert("rat_operation", 0, 100101, "Divison by zero");
        MathObjToError(obj1, "INFINITE");
        return;
    }
    lint_multiply(a->num, b->den);
    lint_multiply(a->den, b->num);
    if (a->den->sign < 0) {
        negateLint(a->den);
        negateLint(a->num);
    }
}

// n1/d1 ± n2/d2 = (n1 d2 ± n2 d1)/(d1 d2), left unreduced until the value becomes text.
void ratAddOrSubtract(lrat* a, const lrat* b, bool subtract) {
    LintPtr term(lint_alloc(0));
    lint_copy(term.get(), b->num);
    lint_multiply(term.get(), a->den);
    lint_multiply(a->num, b->den);
    if (subtract)
        lint_subtract(a->num, term.get());
    else
        lint_add(a->num, term.get());
    lint_multiply(a->den, b->den);
}

void rat_operation(MathObj* obj1, MathObj* obj2, int op) {
    if (!bothRational(obj1, obj2))
        return;
    lrat* a = obj1->pointer.largerat;
    lrat* b = obj2->pointer.largerat;
    switch (op) {
    case SepDivide:
        ratDivide(obj1, a, b);
        return;
    case SepMultiply:
        lint_multiply(a->num, b->num);
        lint_multiply(a->den, b->den);
        return;
    case SepSubtract:
    case SepAdd:
        ratAddOrSubtract(a, b, op == SepSubtract);
        return;
    default:
        lrat_regform(a);
        lrat_regform(b);
        setBoolean(obj1, comparisonHolds(op, lrat_compare(a, b)));
    }
}

void arithmetic_operation(MathObj* obj1, MathObj* obj2, int op) {
    if (obj1->type != 'r' && obj2->type != 'r') {
        if (!isInteger(obj1))
            StringToInt(obj1);
        if (obj1->type == 'e')
            return;
        if (!isInteger(obj2))
            StringToInt(obj2);
        if (obj2->type == 'e') {
            MathObjToError(obj1, obj2->pointer.string);
            return;
        }
    }
    if (obj1->type == 'r' || obj2->type == 'r') {
        rat_operation(obj1, obj2, op);
    } else if (obj1->type == 'i' && obj2->type == 'i') {
        int_operation(obj1, obj2, op);
    } else {
        IntToLint(obj1);
        IntToLint(obj2);
        lint_operation(obj1, obj2, op);
    }
}

// ---- Texts, booleans and assignments ----

void catStrings(MathObj* obj1, MathObj* obj2) {
    if (obj1->type == 'c' || obj2->type == 'c') {
        MathObjToError(obj1, "Booleans cannot be concatenated");
        return;
    }
    MathObjToString(obj1);
    MathObjToString(obj2);
    std::string joined = std::string(obj1->pointer.string) + obj2->pointer.string;
    setText(obj1, heapText(joined.c_str(), joined.size()));
}

void logical_operation(MathObj* obj1, MathObj* obj2, int op) {
    if (obj1->type != 'c' || obj2->type != 'c') {
        Alert("binary_operation", 0, 100302, "Logical AND/OR is only defined for Booleans");
        MathObjToError(obj1, "Invalid Condition");
        return;
    }
    const bool a = obj1->value != 0;
    const bool b = obj2->value != 0;
    setBoolean(obj1, op == SepAnd ? (a && b) : (a || b));
}

void invalidVariable(MathObj* obj1) {
    MathObjToString(obj1);
    std::string name = obj1->pointer.string;
    Alert("binary_operation", 1, 100101, "Invalid variable name: %s", name.c_str());
    MathObjToError(obj1, ("Invalid variable " + name).c_str());
}

void assignment(MathObj* obj1, MathObj* obj2, int op) {
    if (obj1->type != 's') {
        invalidVariable(obj1);
        return;
    }
    std::string name;
    for (const char* p = obj1->pointer.string; *p; ++p)
        if (*p != ' ')
            name += *p;
    if (name.empty()) {
        invalidVariable(obj1);
        return;
    }
    MathObjToString(obj2);
    std::string value = obj2->pointer.string;
    if (op == SepAssign) {
        value.erase(0, value.find_first_not_of(' '));
        value.erase(value.find_last_not_of(' ') + 1);
    }
    const int refused = hooks.defineVariable ? hooks.defineVariable(name.c_str(), value.c_str())
                                             : defaultDefineVariable(name.c_str(), value.c_str());
    // A refused assignment must stop the command line like any other failure.
    if (refused) {
        MathObjToError(obj1, ("Invalid variable " + name).c_str());
        return;
    }
    setText(obj1, heapText(value.c_str(), value.size()));
}

// Applies a separator; obj1 receives the result.
void binary_operation(MathObj* obj1, MathObj* obj2, int op) {
    if (obj1->type == 'e')
        return;
    if (obj2->type == 'e') {
        MathObjToError(obj1, obj2->pointer.string);
        return;
    }
    subs_vars(obj2);
    if (op != SepAssign && op != SepAssignVerbatim)
        subs_vars(obj1);
    if (op <= SepLessEqual)
        arithmetic_operation(obj1, obj2, op);
    else if (op <= SepTextAfter)
        setBoolean(obj1, compareStrings(obj1, obj2, op) != 0);
    else if (op == SepConcatenate)
        catStrings(obj1, obj2);
    else if (op <= SepOr)
        logical_operation(obj1, obj2, op);
    else
        assignment(obj1, obj2, op);
}

// ---- Reduction ----

void unlink(MathObj* obj) {
    if (obj->previous)
        obj->previous->next = obj->next;
    if (obj->next)
        obj->next->previous = obj->previous;
    obj->previous = obj->next = nullptr;
}

// Terms and separators must alternate, starting and ending with a term.
bool wellFormed(MathObj* list) {
    int position = 0;
    for (MathObj* o = list; o; o = o->next, ++position) {
        const bool separator = o->type == 'S';
        if (position % 2 == 1 && !separator) {
            Alert("compute_expression", 1, 100101, "Separator expected but not found");
            MathObjToError(list, "Missing separator");
            return false;
        }
        if (position % 2 == 0 && separator) {
            Alert("compute_expression", 0, 100101, "Missing last term in expression");
            MathObjToError(list, "Missing term");
            return false;
        }
    }
    if (position % 2 == 0) {
        Alert("compute_expression", 0, 100101, "Missing last term in expression");
        MathObjToError(list, "Missing term");
        return false;
    }
    return true;
}

void compute_expression(MathObj* list) {
    if (!wellFormed(list)) {
        if (list->next)
            freestack(list->next);
        list->next = nullptr;
        return;
    }
    for (int op = 0; op < SeparatorCount; ++op) {
        MathObj* o = list->next;
        while (o) {
            if (o->value != op) {
                o = o->next ? o->next->next : nullptr;
                continue;
            }
            MathObj* left = o->previous;
            MathObj* right = o->next;
            binary_operation(left, right, op);
            unlink(o);
            unlink(right);
            freeObj(o);
            freeObj(right);
            o = left->next;
        }
    }
}

// ---- Reading an expression ----

// One stretch of the text: the separator run and the term after it, as offsets.
struct Stretch {
    int runBegin;
    int runEnd;
    int termBegin;
    int termEnd;
};

// Scans the separator run at pos and the term after it. Quotes are turned into "@" on the way.
bool findFirstTerm(char* s, int pos, Stretch* stretch) {
    stretch->runBegin = pos;
    while (isOperatorChar(s[pos]))
        ++pos;
    stretch->runEnd = pos;
    stretch->termBegin = pos;
    int depth = 0;
    bool quoted = false;
    for (; s[pos]; ++pos) {
        const bool plain = unescaped(s, pos);
        if (s[pos] == '"' && plain)
            s[pos] = '@';
        if (s[pos] == '@' && plain) {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (s[pos] == '(' && plain) {
            ++depth;
        } else if (s[pos] == ')' && plain) {
            --depth;
        } else if (depth == 0 && isOperatorChar(s[pos]) && (pos == 0 || s[pos - 1] != '\\')) {
            break;
        }
    }
    stretch->termEnd = pos;
    if (quoted) {
        Alert("findFirstTerm", 1, 100302, "Unmatched quotes");
        return false;
    }
    if (depth != 0) {
        Alert("findFirstTerm", 0, 100302, "Brackets not closed");
        return false;
    }
    return true;
}

int separatorIndex(const char* begin, const char* end) {
    const std::size_t len = static_cast<std::size_t>(end - begin);
    for (int i = 0; i < SeparatorCount; ++i)
        if (std::strlen(SeparatorTexts[i]) == len &&
            std::strncmp(SeparatorTexts[i], begin, len) == 0)
            return i;
    return -1;
}

// Cuts the text into stretches; false on unbalanced brackets or quotes.
bool splitExpression(char* s, int start, std::vector<Stretch>& stretches) {
    int pos = start;
    do {
        Stretch stretch{};
        if (!findFirstTerm(s, pos, &stretch))
            return false;
        // A "-" ending a longer run is the sign of the term: 3*-2, 2--3.
        if (stretch.runEnd - stretch.runBegin >= 2 && s[stretch.runEnd - 1] == '-') {
            --stretch.runEnd;
            --stretch.termBegin;
        }
        stretches.push_back(stretch);
        pos = stretch.termEnd;
    } while (s[pos]);
    return true;
}

// A blank term between separators followed by a lone "-" gives its place to the signed term
// after it, so that 2 * -3 multiplies by -3; any other blank term there is malformed.
bool mergeBlankTerms(const char* s, std::vector<Stretch>& stretches, bool leadingZero) {
    if (stretches.size() + (leadingZero ? 1 : 0) < 2)
        return true;
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        const Stretch& p = stretches[i];
        if (!isBlankOnly(s + p.termBegin, s + p.termEnd))
            continue;
        if (i + 1 >= stretches.size())
            return false;
        const Stretch& next = stretches[i + 1];
        if (next.runEnd - next.runBegin != 1 || s[next.runBegin] != '-')
            return false;
        stretches[i].termBegin = next.runBegin;
        stretches[i].termEnd = next.termEnd;
        stretches.erase(stretches.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
    return true;
}

bool separatorsValid(const char* s, const std::vector<Stretch>& stretches, bool leadingZero) {
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        const Stretch& p = stretches[i];
        if (p.termBegin == p.termEnd)
            return false; // an empty term
        if (i == 0 && !leadingZero)
            continue; // nothing stands before the first term
        if (separatorIndex(s + p.runBegin, s + p.runEnd) < 0)
            return false;
    }
    return true;
}

MathObj* analyse_function(char* term);

MathObj* evaluateCopy(const char* begin, const char* end) {
    std::string copy(begin, end);
    return unshared(evaluate_string(copy.data()));
}

// The value of one term: a parenthesised sub-expression, a function call or a text.
MathObj* makeTermObj(char* s, int begin, int end, bool wholeText) {
    int first = begin;
    while (first < end && s[first] == ' ')
        ++first;
    int last = end - 1;
    while (last > first && s[last] == ' ')
        --last;
    if (last > begin && s[last] == ')' && unescaped(s, last)) {
        if (s[first] == '(' && unescaped(s, first))
            return evaluateCopy(s + first + 1, s + last);
        if (!wholeText)
            return evaluateCopy(s + begin, s + end);
        std::string call(s + begin, s + end);
        return unshared(analyse_function(call.data()));
    }
    return makeStringObj(s + begin, end - begin);
}

MathObj* syntaxError(const char* text) {
    Alert("evaluate_string", 0, 100302, "Syntax error in (sub)-expression:\n%s", text);
    return &sharedError;
}

// Builds the list of terms and separators from stretches already checked.
MathObj* buildList(char* s, const std::vector<Stretch>& stretches, bool leadingZero) {
    const bool single = stretches.size() == 1 && !leadingZero;
    MathObj* list = leadingZero ? makeIntObj(0) : nullptr;
    MathObj* last = list;
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        const Stretch& p = stretches[i];
        if (i > 0 || leadingZero)
            last = stack_up(last, findSeparator(s + p.runBegin, s + p.runEnd));
        const bool wholeText = single && p.termBegin == 0 && s[p.termEnd] == '\0';
        last = stack_up(last, makeTermObj(s, p.termBegin, p.termEnd, wholeText));
        if (!list)
            list = last;
    }
    return list;
}

// ---- Function calls ----

int findOpeningBracket(const char* term) {
    bool quoted = false;
    for (int i = 0; term[i]; ++i) {
        if (term[i] == '@' && unescaped(term, i))
            quoted = !quoted;
        else if (!quoted && term[i] == '(' && unescaped(term, i))
            return i;
    }
    return -1;
}

// The argument texts of the list that starts after the opening bracket; false when text other
// than blanks follows the closing bracket.
bool splitArguments(const char* list, std::vector<std::string>& arguments) {
    const char* begin = list;
    for (;;) {
        const char* end = findNextArgument(begin);
        arguments.emplace_back(begin, end);
        if (*end == ',') {
            begin = end + 1;
            continue;
        }
        if (*end == ')' && !isBlankOnly(end + 1, end + std::strlen(end)))
            return false;
        break;
    }
    // f() has no arguments rather than one empty one.
    if (arguments.size() == 1 &&
        isBlankOnly(arguments[0].data(), arguments[0].data() + arguments[0].size()))
        arguments.clear();
    return true;
}

MathObj* defaultExecuteFunction(MathObj* stack) {
    Alert("execute_function", 0, 100101, "Function calls are not available: %s",
          stack->pointer.string);
    return newErrorObj("Function calls are not available");
}

// Evaluates the arguments in order, then runs the call through the interpreter.
MathObj* analyse_function(char* term) {
    const int open = findOpeningBracket(term);
    std::vector<std::string> arguments;
    if (open < 0 || !splitArguments(term + open + 1, arguments))
        return syntaxError(term);
    MathObj* chain = makeStringObj(term, open);
    MathObj* last = chain;
    for (std::string& argument : arguments) {
        MathObj* value = unshared(evaluate_string(argument.data()));
        MathObjToString(value);
        if (value->type == 'e') {
            freestack(chain);
            return value;
        }
        last = stack_up(last, value);
    }
    MathObj* result =
        hooks.executeFunction ? hooks.executeFunction(chain) : defaultExecuteFunction(chain);
    freestack(chain);
    return result ? result : newErrorObj(ErrorText);
}

// ---- Number reading for command arguments ----

// An int from a big integer, when it fits.
int lintToIntQuietly(const lint* x, int* value) {
    if (x->size > 3)
        return 2;
    std::int64_t magnitude = 0;
    for (int i = x->size - 1; i >= 0; --i)
        magnitude = magnitude * 10000 + x->number[i];
    const std::int64_t v = x->sign * magnitude;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return 2;
    *value = static_cast<int>(v);
    return 0;
}

int intFromValue(MathObj* v, int* value) {
    switch (v->type) {
    case 'i':
        *value = v->value;
        return 0;
    case 'l':
        return lintToIntQuietly(v->pointer.largeint, value);
    case 's':
        return strnumChk(v->pointer.string, value);
    default:
        return 1;
    }
}

void describeFailure(MathObj* v, std::string* valueText) {
    if (!valueText)
        return;
    MathObjToString(v);
    *valueText = v->pointer.string;
}

} // namespace

// ---- Objects and the store ----

MathObj* allocMathObj() {
    MathObj* obj = nullptr;
    if (!objectStore.empty()) {
        obj = objectStore.back();
        objectStore.pop_back();
    } else {
        obj = &heapObjects.emplace_back();
    }
    obj->pointer.string = nullptr;
    obj->previous = obj->next = nullptr;
    obj->allocated = 0;
    obj->value = 0;
    obj->type = 'i';
    return obj;
}

void freeObjPointer(MathObj* obj) {
    if (obj->allocated) {
        switch (obj->type) {
        case 'l':
            lint_free(obj->pointer.largeint);
            break;
        case 'r':
            lrat_free(obj->pointer.largerat);
            break;
        default:
            std::free(obj->pointer.string);
        }
    }
    obj->pointer.string = nullptr;
    obj->allocated = 0;
}

void freeObjSpace(MathObj* obj) {
    freeObjPointer(obj);
}

void freeObj(MathObj* obj) {
    if (!obj || obj == &sharedError)
        return;
    freeObjPointer(obj);
    obj->previous = obj->next = nullptr;
    obj->type = 'i';
    storeObject(obj);
}

void freestack(MathObj* obj) {
    while (obj) {
        MathObj* next = obj->next;
        freeObj(obj);
        obj = next;
    }
}

MathObj* stack_up(MathObj* last, MathObj* obj) {
    if (last)
        last->next = obj;
    obj->previous = last;
    obj->next = nullptr;
    return obj;
}

int checkFreed(MathObj* obj) {
    for (const MathObj* stored : objectStore)
        if (stored == obj) {
            Alert("checkFreed", 0, 212404, "Attempt to free twice, %p\n", static_cast<void*>(obj));
            return 1;
        }
    return 0;
}

int showObjectsUsed(int level) {
    const int count = static_cast<int>(heapObjects.size());
    const int bytes = count * static_cast<int>(sizeof(MathObj));
    if (level > 0)
        Alert("showObjectsUsed", 0, 100208, "Number of MathObj's allocated: %d; %d bytes\n", count,
              bytes);
    return bytes;
}

void initEvaluator() {
    if (evaluatorReady)
        return;
    sharedError.pointer.string = ErrorText;
    sharedError.allocated = 0;
    sharedError.type = 'e';
    evaluatorReady = true;
}

void setEvaluatorHooks(const EvaluatorHooks& newHooks) {
    hooks = newHooks;
}

// ---- Making objects ----

MathObj* makeStringObj(const char* string, int len) {
    MathObj* obj = allocMathObj();
    setText(obj, heapText(string, static_cast<std::size_t>(len < 0 ? 0 : len)));
    return obj;
}

MathObj* makeIntObj(int value) {
    MathObj* obj = allocMathObj();
    setInt(obj, value);
    return obj;
}

MathObj* makeSeparatorObj(int index) {
    MathObj* obj = allocMathObj();
    setSharedText(obj, 'S', SeparatorTexts[index]);
    obj->value = index;
    return obj;
}

MathObj* findSeparator(const char* begin, const char* end) {
    const int index = separatorIndex(begin, end);
    return index < 0 ? nullptr : makeSeparatorObj(index);
}

void CopyStringToMathObj(MathObj* obj, const char* msg) {
    char* copy = heapText(msg);
    setText(obj, copy);
}

// ---- Conversions ----

void MathObjToError(MathObj* obj, const char* msg) {
    if (obj->type == 'e')
        return;
    CopyStringToMathObj(obj, msg);
    obj->type = 'e';
}

void IntToLint(MathObj* obj) {
    if (obj->type == 'i')
        setLint(obj, int_to_newlint(obj->value));
}

void LintToRat(MathObj* obj) {
    if (obj->type != 'l') {
        Alert("LintToRat", 0, 212404, "Invalid type \"%c\" in routine LintToRat", obj->type);
        return;
    }
    lint* num = takeLint(obj);
    setRat(obj, lrat_Alloc(num, int_to_newlint(1)));
}

void MathObjToRat(MathObj* obj) {
    if (obj->type == 's')
        StringToInt(obj);
    switch (obj->type) {
    case 'r':
    case 'e':
        return;
    case 'i':
        IntToLint(obj);
        LintToRat(obj);
        return;
    case 'l':
        LintToRat(obj);
        return;
    default:
        Alert("MathObjToRat", 0, 212404, "Invalid type \"%c\" in routine MathObjToRat", obj->type);
    }
}

void MathObjToString(MathObj* m) {
    switch (m->type) {
    case 'i':
        setText(m, heapText(numstr(m->value)));
        return;
    case 'l':
        setText(m, heapText(lint_string(m->pointer.largeint)));
        return;
    case 'r':
        simplify_rat(m->pointer.largerat);
        setText(m, heapText(lrat_string(m->pointer.largerat)));
        return;
    case 'c':
    case 'S':
        setSharedText(m, 's', m->pointer.string);
        return;
    default:
        return;
    }
}

// ---- Texts ----

int compareStrings(MathObj* obj1, MathObj* obj2, int op) {
    MathObjToString(obj1);
    MathObjToString(obj2);
    const int cmp = std::strcmp(obj1->pointer.string, obj2->pointer.string);
    switch (op) {
    case SepTextBefore:
        return cmp < 0;
    case SepTextEqual:
        return cmp == 0;
    default:
        return cmp > 0;
    }
}

int getStringLen(MathObj* stack) {
    int length = 0;
    for (MathObj* o = stack; o; o = o->next) {
        if (o->type != 's') {
            Alert("getStringLen", 0, 212404, "Incorrect type \"%c\" in getStringLen", o->type);
            return 0;
        }
        length += static_cast<int>(std::strlen(o->pointer.string)) + 5;
    }
    return length;
}

void lint_division(MathObj* obj1, MathObj* obj2) {
    if (lintIsZero(obj2->pointer.largeint)) {
        Alert("lint_division", 0, 100101, "Divison by zero");
        MathObjToError(obj1, "INFINITE");
        return;
    }
    lint* num = takeLint(obj1);
    lint* den = lint_alloc(0);
    lint_copy(den, obj2->pointer.largeint);
    if (den->sign < 0) {
        negateLint(den);
        negateLint(num);
    }
    setRat(obj1, lrat_Alloc(num, den));
}

const char* findNextArgument(const char* argument) {
    int depth = 0;
    bool quoted = false;
    const char* p = argument;
    for (; *p; ++p) {
        const bool plain = unescaped(argument, static_cast<int>(p - argument));
        if (*p == '@' && plain) {
            quoted = !quoted;
        } else if (quoted || !plain) {
            continue;
        } else if (*p == '(') {
            ++depth;
        } else if (*p == ')') {
            if (--depth < 0)
                return p;
        } else if (*p == ',' && depth == 0) {
            return p;
        }
    }
    Alert("findNextArgument", 0, 100302, "Unterminated string");
    return p;
}

int findLastClosingBracket(const char* string) {
    int last = static_cast<int>(std::strlen(string)) - 1;
    while (last >= 0 && string[last] == ' ')
        --last;
    if (last >= 0 && string[last] == ')' && unescaped(string, last))
        return last;
    return 0;
}

// ---- Evaluation ----

MathObj* evaluate_string(char* string) {
    initEvaluator();
    if (!string || string[0] == '\0')
        return makeStringObj("", 0);
    if (nesting >= MaxNesting) {
        Alert("evaluate_string", 1, 100302, "Expression nested too deeply");
        return &sharedError;
    }
    const NestingLevel level;
    int start = 0;
    while (string[start] == ' ')
        ++start;
    const bool leadingZero = string[start] == '+' || string[start] == '-';
    if (isOperatorChar(string[start]) && !leadingZero)
        return syntaxError(string);
    std::vector<Stretch> stretches;
    if (!splitExpression(string, leadingZero ? start : 0, stretches) ||
        !mergeBlankTerms(string, stretches, leadingZero) ||
        !separatorsValid(string, stretches, leadingZero))
        return syntaxError(string);
    MathObj* list = buildList(string, stretches, leadingZero);
    if (list->next)
        compute_expression(list);
    else
        subs_vars(list);
    return list;
}

int check_condition(char* condition) {
    std::string text = condition ? condition : "";
    MathObj* value = evaluate_string(condition);
    int result = -1;
    if (value->type == 'c') {
        result = value->value ? 0 : 1;
    } else {
        Alert("check_condition", 0, 100302, "Invalid conditional expression: %s", text.c_str());
    }
    freeObj(value);
    return result;
}

int evaluateToInt(const char* expression, int* value, std::string* valueText) {
    std::string text = expression ? expression : "";
    MathObj* v = evaluate_string(text.data());
    int result = intFromValue(v, value);
    if (result != 0)
        describeFailure(v, valueText);
    freeObj(v);
    return result;
}

int evaluateToDouble(const char* expression, double* value, std::string* valueText) {
    std::string text = expression ? expression : "";
    MathObj* v = evaluate_string(text.data());
    int result = 1;
    if (v->type == 's' || isInteger(v) || v->type == 'r') {
        MathObjToRat(v);
        if (v->type == 'r') {
            // The converter answers a zero denominator with the largest finite double.
            const double d = lratToDouble(v->pointer.largerat);
            const bool fits =
                std::isfinite(d) && std::fabs(d) != std::numeric_limits<double>::max();
            result = fits ? 0 : 2;
            if (fits)
                *value = d;
        }
    }
    if (result != 0)
        describeFailure(v, valueText);
    freeObj(v);
    return result;
}

// ---- Debug listing ----

void PrintMathObj(MathObj* obj) {
    int position = 0;
    for (MathObj* o = obj; o; o = o->next, position += 1000) {
        std::printf("Mathobj at %d: %p\n", position, static_cast<void*>(o));
        switch (o->type) {
        case 's':
            std::printf("type s; %s\n", o->pointer.string);
            break;
        case 'e':
            std::printf("type e; %s\n", o->pointer.string);
            break;
        case 'i':
            std::printf("type i; %d\n", o->value);
            break;
        case 'S':
            std::printf("type S; %s\n", o->pointer.string);
            break;
        case 'l':
            std::printf("type l; ");
            std::fflush(stdout);
            lint_print(o->pointer.largeint);
            break;
        case 'r':
            std::printf("type r; %s\n", lrat_string(o->pointer.largerat));
            break;
        case 'c':
            std::printf("type c; %s\n", o->value ? "TRUE" : "FALSE");
            break;
        default:
            std::printf("Unknown MathObj: %c\n", o->type);
        }
    }
}
