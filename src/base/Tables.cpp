#include "base/Tables.h"

#include "base/Allocation.h"
#include "base/Defaults.h"
#include "base/Error.h"
#include "base/StringUtility.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

AllocCount TablesCount = ALLOC_COUNTER("Tables");

TableData* firstTable = nullptr;

// The columns taking part in the last print, in print order.
std::vector<ColumnData*> ActiveCols;
bool printStarted = false;

// The intermediate text of the last table made.
GuardedArray<char> TEXT("TEXT", &TablesCount);
int textLength = 0;
bool haveText = false;
int lineLength = 0;

GuardedArray<char> HeaderBuffer("Header", &TablesCount);
GuardedArray<char> FullText("FullText", &TablesCount);
// Cells are written here first, so that a long cell never runs over the table text.
GuardedArray<char> CellBuffer("Table cell", &TablesCount);

constexpr int InitialColumns = 20;
constexpr int ExtraColumns = 10;
constexpr int MaxLineLength = 100;
constexpr int HeadLength = 4; // a tab and three digits
constexpr int LongestShortCell = 999;
constexpr int MinimalCellRoom = 65536;

char* countedCopy(const char* text, const char* label) {
    std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(allocate(size, &TablesCount, label));
    std::memcpy(copy, text, size);
    return copy;
}

int columnCount(const TableData* td) {
    int n = 0;
    while (td->cols[n])
        ++n;
    return n;
}

void storePreferences() {
    TableDefaults();
}

void registerPreferenceHandlers() {
    setTablePreferenceHandlers(storePreferences, getTableDefault);
}

void* nextTableItem(void* item) {
    return nextTable(static_cast<TableData*>(item));
}

// ---------------------------------------------------------------- making the text

struct MakeState {
    int bufferSize = 0;
    bool bufferCheck = false;
    int rowsMade = 0;
};

void reserveText(int size) {
    TEXT.reserve(size);
    TEXT.X[textLength] = '\0';
}

// Room for n more characters and the terminator; grows without a message, since the cell is
// already made and must be kept.
void ensureTextRoom(MakeState& st, int n) {
    int need = textLength + n + 1;
    if (need <= st.bufferSize)
        return;
    st.bufferSize = std::max(2 * st.bufferSize, need);
    reserveText(st.bufferSize);
}

void sizeTextBuffer(MakeState& st, int rows) {
    if (rows > 1000) {
        st.bufferSize = 1000 * lineLength + 100;
        st.bufferCheck = true;
    } else {
        st.bufferSize = (std::max(rows, 0) + 10) * (lineLength + 2);
    }
    textLength = 0;
    reserveText(st.bufferSize);
}

void reserveCellRoom(const ColumnData* cd) {
    int room = std::max(MinimalCellRoom, 2 * cd->allocwidth + 16);
    if (!CellBuffer.reserved() || room > CellBuffer.X_oldsize)
        CellBuffer.reserve(room);
}

// The cell's length, or -1 when the callback drops the row.
int makeCell(ColumnData* cd, void* row, int lbl) {
    reserveCellRoom(cd);
    CellBuffer.X[0] = '\0';
    void* object = cd->dynamical ? static_cast<void*>(cd->description) : row;
    char* end = cd->content ? cd->content(CellBuffer.X, object, lbl) : CellBuffer.X;
    if (!end)
        return -1;
    CellBuffer.check();
    long len = end - CellBuffer.X;
    len = std::clamp(len, 0L, static_cast<long>(CellBuffer.X_oldsize));
    // The next call gets room for twice the longest cell seen.
    if (2 * len + 16 > CellBuffer.X_oldsize)
        CellBuffer.reserve(static_cast<int>(2 * len + 16));
    return static_cast<int>(len);
}

void appendCell(MakeState& st, ColumnData* cd, int len) {
    char head[24];
    int headLen = len <= LongestShortCell ? std::snprintf(head, sizeof head, "\t%03d", len)
                                          : std::snprintf(head, sizeof head, "\t+%d;", len);
    ensureTextRoom(st, headLen + len + 1);
    std::memcpy(TEXT.X + textLength, head, static_cast<std::size_t>(headLen));
    std::memcpy(TEXT.X + textLength + headLen, CellBuffer.X, static_cast<std::size_t>(len));
    textLength += headLen + len;
    TEXT.X[textLength] = '\0';
    if (len + 1 > cd->width)
        cd->width = len + 1;
    if (len > cd->allocwidth) {
        Alert("makeTable", 0, 110110, "Allocation width for column %s too small", cd->name);
        st.bufferCheck = true;
    }
}

// False when a cell dropped the row; what was written of it is then discarded.
bool makeRow(MakeState& st, void* row, int lbl) {
    int rowStart = textLength;
    for (ColumnData* cd : ActiveCols) {
        int len = makeCell(cd, row, lbl);
        if (len < 0) {
            textLength = rowStart;
            TEXT.X[textLength] = '\0';
            return false;
        }
        appendCell(st, cd, len);
    }
    ensureTextRoom(st, 1);
    TEXT.X[textLength++] = '\n';
    TEXT.X[textLength] = '\0';
    return true;
}

void checkTextBuffer(MakeState& st) {
    if (!st.bufferCheck || st.rowsMade == 0)
        return;
    int average = textLength / st.rowsMade;
    if (textLength <= st.bufferSize - 5 * average)
        return;
    Alert("makeTable", 1, 112210, "Re-allocating table buffer");
    st.bufferSize *= 2;
    reserveText(st.bufferSize);
}

// ---------------------------------------------------------------- reading the text

void placeCell(std::string& out, const ColumnData* cd, int len, int col_nr, const char* txt) {
    int fill = std::max(cd->width - len, 0);
    int space = std::max(cd->space, 0);
    if (cd->adjust == 'R') {
        out.append(static_cast<std::size_t>(fill), ' ');
        out.append(txt, static_cast<std::size_t>(len));
        out.append(static_cast<std::size_t>(space), ' ');
        return;
    }
    if (col_nr > 0)
        out.append(static_cast<std::size_t>(space), ' ');
    out.append(txt, static_cast<std::size_t>(len));
    out.append(static_cast<std::size_t>(fill), ' ');
}

// Reads a cell head at p (a tab); returns the head's length and the cell length, or 0 when the
// head is damaged.
int readHead(const char* p, const char* end, int& len) {
    if (end - p >= 2 && p[1] == '+') {
        const char* q = p + 2;
        long value = 0;
        while (q < end && *q >= '0' && *q <= '9' && value < 1000000000L)
            value = 10 * value + (*q++ - '0');
        if (q >= end || *q != ';')
            return 0;
        len = static_cast<int>(value);
        return static_cast<int>(q + 1 - p);
    }
    if (end - p < HeadLength)
        return 0;
    len = 0;
    for (int i = 1; i < HeadLength; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return 0;
        len = 10 * len + (p[i] - '0');
    }
    return HeadLength;
}

void appendRows(std::string& out, const char* routine) {
    const char* p = TEXT.X;
    const char* end = TEXT.X + textLength;
    int col = 0;
    while (p && p < end) {
        if (*p == '\n') {
            out += '\n';
            col = 0;
            ++p;
            continue;
        }
        int len = 0;
        int head = *p == '\t' ? readHead(p, end, len) : 0;
        if (head == 0) {
            Alert(routine, 0, 212404, "Unexpected character \"%c\" in table output", *p);
            ++p;
            continue;
        }
        len = static_cast<int>(std::min<long>(len, end - p - head));
        if (col < static_cast<int>(ActiveCols.size()))
            placeCell(out, ActiveCols[static_cast<std::size_t>(col)], len, col, p + head);
        ++col;
        p += head + len;
    }
}

// The header that fits the column; a column too narrow for every form is widened.
const char* chooseHeader(ColumnData* cd) {
    auto fits = [cd](const char* h) { return static_cast<int>(std::strlen(h)) < cd->width - 1; };
    if (fits(cd->name))
        return cd->name;
    const char* last = cd->name;
    for (char** alt = cd->alt_hdrs; alt && *alt; ++alt) {
        if (fits(*alt))
            return *alt;
        last = *alt;
    }
    cd->width = static_cast<int>(std::strlen(last)) + 1;
    return last;
}

std::string headerLine() {
    std::string line;
    int col = 0;
    for (ColumnData* cd : ActiveCols) {
        const char* h = chooseHeader(cd);
        placeCell(line, cd, static_cast<int>(std::strlen(h)), col++, h);
    }
    line += '\n';
    return line;
}

// The text to print: made anew, or for seq 2 the last one. False when there is none.
bool tableText(const char* name, int min, int max, int* hdr, int seq, void* extra) {
    if (seq == 2)
        return haveText;
    return makeTable(name, min, max, hdr, seq, extra) != nullptr;
}

char* copyToBuffer(GuardedArray<char>& buffer, const std::string& text, int size) {
    buffer.reserve(std::max(size, static_cast<int>(text.size()) + 1));
    std::memcpy(buffer.X, text.c_str(), text.size() + 1);
    return buffer.X;
}

// ---------------------------------------------------------------- lookups

// The one item of the list whose name the word abbreviates; ambiguity and absence are reported
// with the routine's two messages.
template <class T, class Next, class Name>
T* findByAbbreviation(T* first, const char* word, Next next, Name nameOf, const char* routine,
                      const char* ambiguous, const char* missing) {
    for (T* it = first; it; it = next(it))
        if (std::strcmp(nameOf(it), word) == 0)
            return it;
    T* found = nullptr;
    int count = 0;
    for (T* it = first; it; it = next(it))
        if (cmpcom(nameOf(it), word) == 0) {
            found = it;
            ++count;
        }
    if (count == 1)
        return found;
    if (count > 1)
        Alert(routine, 0, 100302, ambiguous, word);
    else
        Alert(routine, 1, 100302, missing, word);
    return nullptr;
}

ColumnData* columnOf(const char* table, const char* column) {
    TableData* td = getTable(table);
    return td ? findColumn(td, column) : nullptr;
}

// ---------------------------------------------------------------- preferences

std::string preferenceKey(const TableData* td, const char* kind) {
    return std::string("Table:") + td->name + kind;
}

enum class PrefKind { PrintPrefs, Header, Spacings, Adjustments, None };

PrefKind kindOf(const char* key, const char** suffix) {
    static const struct {
        const char* text;
        PrefKind kind;
    } kinds[] = {{":PrintPrefs", PrefKind::PrintPrefs},
                 {":Header", PrefKind::Header},
                 {":Spacings", PrefKind::Spacings},
                 {":Adjustments", PrefKind::Adjustments}};
    for (const auto& k : kinds)
        if ((*suffix = std::strstr(key, k.text)) != nullptr)
            return k.kind;
    return PrefKind::None;
}

void applyColumnPreference(ColumnData* cd, PrefKind kind, char c) {
    if (kind == PrefKind::PrintPrefs)
        cd->printPref = c - '0';
    else if (kind == PrefKind::Spacings)
        cd->space = c - '0';
    else
        cd->adjust = c;
}

void applyPreference(TableData* td, PrefKind kind, const char* value) {
    if (kind == PrefKind::Header) {
        td->headerReq = value[0] - '0';
        return;
    }
    int i = 0;
    for (; value[i] && td->cols[i]; ++i)
        applyColumnPreference(td->cols[i], kind, value[i]);
    // The settings of columns added during an earlier run ("new column") are saved with the
    // others; those columns do not exist at start-up, before any option is read. A notice
    // shown once, not a question, so that a saved file always reads back.
    if (value[i])
        Alert("getTableDefault", 1, 100218, "Too many colums in Defaults file");
}

// ---------------------------------------------------------------- tables about tables

TableData* tableOf(void* row) {
    return static_cast<TableData*>(row);
}

ColumnData* columnAt(void* row, int lbl) {
    TableData* td = tableOf(row);
    if (!td || lbl < 0)
        return nullptr;
    for (int i = 0; td->cols[i]; ++i)
        if (i == lbl)
            return td->cols[i];
    return nullptr;
}

char* writeText(char* txt, const char* text) {
    std::size_t n = std::strlen(text);
    std::memcpy(txt, text, n + 1);
    return txt + n;
}

} // namespace

// ---------------------------------------------------------------- definition

TableData* initTable(const char* name) {
    registerPreferenceHandlers();
    if (TableData* td = findTable(name)) {
        Alert("initTable", 0, 212304, "Attempt to re-initialize table %s", name);
        return td;
    }
    auto* td =
        static_cast<TableData*>(allocate(sizeof(TableData), &TablesCount, "Table data pointer"));
    td->name = countedCopy(name, "Table data");
    td->maxcols = InitialColumns;
    td->cols = static_cast<ColumnData**>(
        allocate(sizeof(ColumnData*) * InitialColumns, &TablesCount, "Table data (columns)"));
    td->cols[0] = nullptr;
    td->increm = nullptr;
    td->headerReq = 1;
    td->next = firstTable;
    firstTable = td;
    return td;
}

ColumnData* makeColumn(const char* name, const char* description, int allocwidth, COL_CONT content,
                       COL_INIT init) {
    auto* cd =
        static_cast<ColumnData*>(allocate(sizeof(ColumnData), &TablesCount, "Column data pointer"));
    std::vector<std::string> parts;
    std::string text = name ? name : "";
    for (std::size_t at = 0;;) {
        std::size_t bar = text.find('|', at);
        parts.push_back(text.substr(at, bar == std::string::npos ? std::string::npos : bar - at));
        if (bar == std::string::npos)
            break;
        at = bar + 1;
    }
    cd->name = countedCopy(parts[0].c_str(), "Column data");
    cd->description = countedCopy(description ? description : "", "Column data");
    cd->alt_hdrs = static_cast<char**>(
        allocate(sizeof(char*) * parts.size(), &TablesCount, "Alternative headers"));
    for (std::size_t i = 1; i < parts.size(); ++i)
        cd->alt_hdrs[i - 1] = countedCopy(parts[i].c_str(), "Alternative headers");
    cd->alt_hdrs[parts.size() - 1] = nullptr;
    cd->printPref = 1;
    cd->colAvailable = 0;
    cd->allocwidth = allocwidth;
    cd->width = 0;
    cd->space = 1;
    cd->dynamical = 0;
    cd->adjust = 'L';
    cd->content = content;
    cd->init = init;
    return cd;
}

namespace {

void freeCounted(char* text, const char* label) {
    freespace(text, std::strlen(text) + 1, &TablesCount, label);
}

void freeColumn(ColumnData* cd) {
    std::size_t headers = 1;
    for (char** alt = cd->alt_hdrs; *alt; ++alt, ++headers)
        freeCounted(*alt, "Alternative headers");
    freespace(cd->alt_hdrs, sizeof(char*) * headers, &TablesCount, "Alternative headers");
    freeCounted(cd->name, "Column data");
    freeCounted(cd->description, "Column data");
    freespace(cd, sizeof(ColumnData), &TablesCount, "Column data pointer");
}

} // namespace

void resetTableState() {
    while (TableData* td = firstTable) {
        firstTable = td->next;
        for (ColumnData** col = td->cols; *col; ++col)
            freeColumn(*col);
        freespace(td->cols, sizeof(ColumnData*) * static_cast<std::size_t>(td->maxcols),
                  &TablesCount, "Table data (columns)");
        freeCounted(td->name, "Table data");
        freespace(td, sizeof(TableData), &TablesCount, "Table data pointer");
    }
    ActiveCols.clear();
    printStarted = false;
    TEXT.release();
    textLength = 0;
    haveText = false;
    lineLength = 0;
    HeaderBuffer.release();
    FullText.release();
    CellBuffer.release();
}

void addColumn(const char* tablename, ColumnData* col) {
    TableData* td = findTable(tablename);
    if (!td) {
        Alert("addColumn", 0, 112415, "Table %s not found", tablename);
        return;
    }
    if (!col)
        return;
    int n = columnCount(td);
    if (n + 2 > td->maxcols) {
        std::size_t old = sizeof(ColumnData*) * static_cast<std::size_t>(td->maxcols);
        td->maxcols += ExtraColumns;
        td->cols = static_cast<ColumnData**>(
            reallocate(td->cols, sizeof(ColumnData*) * static_cast<std::size_t>(td->maxcols), old,
                       &TablesCount, "Extra columns"));
    }
    td->cols[n] = col;
    td->cols[n + 1] = nullptr;
}

void addIncrem(const char* name, NEXT_ITEM function) {
    TableData* td = findTable(name);
    if (!td) {
        Alert("addIncrem", 0, 112415, "Table %s not found", name);
        return;
    }
    td->increm = function;
}

// ---------------------------------------------------------------- lookups

TableData* findTable(const char* name) {
    for (TableData* td = firstTable; td; td = td->next)
        if (std::strcmp(td->name, name) == 0)
            return td;
    return nullptr;
}

TableData* getTable(const char* name) {
    return findByAbbreviation(
        firstTable, name, [](TableData* td) { return td->next; },
        [](TableData* td) { return td->name; }, "findTable", "Table name %s ambiguous",
        "Table %s not found");
}

ColumnData* findColumn(TableData* td, const char* name) {
    ColumnData** first = td->cols;
    ColumnData** end = first + columnCount(td);
    auto next = [end](ColumnData** it) { return it + 1 < end ? it + 1 : nullptr; };
    ColumnData** found = findByAbbreviation(
        first < end ? first : nullptr, name, next, [](ColumnData** it) { return (*it)->name; },
        "findColumn", "Column name %s ambiguous", "Column %s not found");
    return found ? *found : nullptr;
}

TableData* findTableN(int lbl) {
    TableData* td = firstTable;
    for (int i = 0; td && i < lbl; ++i)
        td = td->next;
    return lbl < 0 ? nullptr : td;
}

TableData* nextTable(TableData* td) {
    return td ? td->next : nullptr;
}

// ---------------------------------------------------------------- making and printing

void initColumns(TableData* td, void* extra) {
    ActiveCols.clear();
    for (int i = 0; td->cols[i]; ++i) {
        ColumnData* cd = td->cols[i];
        cd->colAvailable = cd->printPref && (!cd->init || cd->init(extra) == 1);
        cd->width = 0;
        if (cd->colAvailable)
            ActiveCols.push_back(cd);
    }
    printStarted = true;
}

int computeMaxLine() {
    int length = 0;
    for (ColumnData* cd : ActiveCols)
        length += cd->allocwidth + 4;
    return length;
}

char* makeTable(const char* name, int min, int max, int* hdr, int seq, void* extra) {
    TableData* td = findTable(name);
    if (!td) {
        Alert("makeTable", 0, 212302, "Table %s not found", name);
        return nullptr;
    }
    if (!td->headerReq && hdr)
        *hdr = 0;
    MakeState st;
    if (seq == 0 || !printStarted) {
        initColumns(td, extra);
        lineLength = computeMaxLine();
        if (lineLength > MaxLineLength) {
            lineLength = MaxLineLength;
            st.bufferCheck = true;
        }
    }
    sizeTextBuffer(st, max - min);
    void* row = extra;
    for (int lbl = min; lbl < max; ++lbl) {
        if (td->increm && !row)
            break;
        if (!makeRow(st, row, lbl))
            continue;
        ++st.rowsMade;
        checkTextBuffer(st);
        if (td->increm && !(row = td->increm(row)))
            break;
    }
    haveText = true;
    return TEXT.X;
}

char* sprintc(char* out, char c) {
    *out++ = c;
    *out = '\0';
    return out;
}

char* sprintColumn(ColumnData* cd, int len, int col_nr, const char* txt, char* out) {
    std::string cell;
    placeCell(cell, cd, len, col_nr, txt);
    std::memcpy(out, cell.c_str(), cell.size() + 1);
    return out + cell.size();
}

int printColumn(ColumnData* cd, int len, int col_nr, const char* txt, FILE* out) {
    std::string cell;
    placeCell(cell, cd, len, col_nr, txt);
    return static_cast<int>(std::fwrite(cell.data(), 1, cell.size(), out));
}

void printHeader(FILE* out) {
    std::string line = headerLine();
    std::fwrite(line.data(), 1, line.size(), out);
}

void sprintHeader(char** out) {
    *out = copyToBuffer(HeaderBuffer, headerLine(), 1000);
}

void printTable(const char* name, int min, int max, int hdr, int seq, void* extra, FILE* out) {
    if (!out || !tableText(name, min, max, &hdr, seq, extra))
        return;
    std::string text = hdr == 1 ? headerLine() : std::string();
    appendRows(text, "printTable");
    std::fwrite(text.data(), 1, text.size(), out);
    std::fflush(out);
}

char* sprintTable(const char* name, int min, int max, int hdr, int seq, void* extra) {
    if (!tableText(name, min, max, &hdr, seq, extra))
        return nullptr;
    char* header = nullptr;
    sprintHeader(&header);
    int headerLength = static_cast<int>(std::strlen(header));
    std::string text = hdr == 1 ? std::string(header) : std::string();
    appendRows(text, "sprintTable");
    return copyToBuffer(FullText, text, (std::max(max - min, 0) + 1) * (headerLength + 1));
}

// ---------------------------------------------------------------- settings

int getHeader(const char* table) {
    TableData* td = getTable(table);
    return td ? td->headerReq : -1;
}

int setHeader(const char* table, int value) {
    TableData* td = getTable(table);
    if (!td)
        return 1;
    td->headerReq = value;
    return 0;
}

int setSpace(const char* table, const char* column, int space) {
    ColumnData* cd = columnOf(table, column);
    if (!cd)
        return 1;
    cd->space = space;
    return -1;
}

int setAdjust(const char* table, const char* column, char adjust) {
    ColumnData* cd = columnOf(table, column);
    if (!cd)
        return 1;
    cd->adjust = adjust;
    return -1;
}

int setPrintPref(const char* table, const char* column, int value) {
    ColumnData* cd = columnOf(table, column);
    if (!cd)
        return 1;
    cd->printPref = value;
    return -1;
}

int getPrintPref(const char* table, const char* column) {
    ColumnData* cd = columnOf(table, column);
    return cd ? cd->printPref : 1;
}

int setPrintPrefs(const char* table, const char* column, int value) {
    TableData* td = getTable(table);
    if (!td)
        return 1;
    int count = 0;
    for (int i = 0; td->cols[i]; ++i)
        if (cmpcom(td->cols[i]->name, column) == 0) {
            td->cols[i]->printPref = value;
            ++count;
        }
    return count;
}

// ---------------------------------------------------------------- preferences

void TableDefaults() {
    for (TableData* td = firstTable; td; td = td->next)
        setTableDefaults(td);
}

void setTableDefaults(TableData* td) {
    std::string prefs, adjust, spaces;
    for (int i = 0; td->cols[i]; ++i) {
        const ColumnData* cd = td->cols[i];
        prefs += std::to_string(cd->printPref);
        adjust += cd->adjust;
        spaces += static_cast<char>('0' + std::clamp(cd->space, 0, 9));
    }
    setDefault(preferenceKey(td, ":PrintPrefs").c_str(), prefs.c_str());
    setDefault(preferenceKey(td, ":Header").c_str(), std::to_string(td->headerReq).c_str());
    setDefault(preferenceKey(td, ":Adjustments").c_str(), adjust.c_str());
    setDefault(preferenceKey(td, ":Spacings").c_str(), spaces.c_str());
}

void getTableDefault(const char* name, const char* value) {
    const char* suffix = nullptr;
    PrefKind kind = kindOf(name, &suffix);
    if (kind == PrefKind::None || !value || !*value || std::strncmp(name, "Table:", 6) != 0)
        return;
    const char* begin = name + 6;
    std::string table(begin, static_cast<std::size_t>(std::max<long>(suffix - begin, 0)));
    TableData* td = getTable(table.c_str());
    if (!td) {
        Alert("getTableDefault", kind == PrefKind::PrintPrefs ? 0 : 2, 112415, "Table %s not found",
              table.c_str());
        return;
    }
    applyPreference(td, kind, value);
}

// ---------------------------------------------------------------- tables about tables

void TableInfo() {
    initTable("TableInfo");
    addColumn("TableInfo", makeColumn("Header", "Column header", 80, getColNameString, nullptr));
    addColumn("TableInfo", makeColumn("Abbreviations|Abbrev.", "Possible abbreviations", 80,
                                      getColAbbrevString, nullptr));
    addColumn("TableInfo", makeColumn("Description", "Description of column contents", 80,
                                      getDescString, nullptr));
    addColumn("TableInfo",
              makeColumn("Enabled", "Show if column is enabled", 20, getPPString, nullptr));
    addColumn("TableInfo",
              makeColumn("Blank space|Space|Sp.", "Amount of blank space bordering column", 8,
                         getBlankSpaceString, nullptr));
    addColumn("TableInfo", makeColumn("Position|Pos.", "Show if column is left or right adjusted",
                                      4, getAdjustmentString, nullptr));
}

void TableTable() {
    initTable("Table_of_tables");
    addColumn("Table_of_tables", makeColumn("Name", "Name of table", 40, getNameString, nullptr));
    addColumn("Table_of_tables",
              makeColumn("Maxcols", "Maximum number of columns", 10, getColsString, nullptr));
    addColumn("Table_of_tables",
              makeColumn("Header", "Printed with header", 10, getHeaderString, nullptr));
    addIncrem("Table_of_tables", nextTableItem);
}

char* getNameString(char* txt, void* row, int) {
    return writeText(txt, tableOf(row)->name);
}

char* getColsString(char* txt, void* row, int) {
    return txt + std::sprintf(txt, "%d", columnCount(tableOf(row)));
}

char* getHeaderString(char* txt, void* row, int) {
    return writeText(txt, toYN(tableOf(row)->headerReq));
}

char* getColNameString(char* txt, void* row, int lbl) {
    ColumnData* cd = columnAt(row, lbl);
    return writeText(txt, cd ? cd->name : "");
}

char* getColAbbrevString(char* txt, void* row, int lbl) {
    ColumnData* cd = columnAt(row, lbl);
    std::string text;
    for (char** alt = cd ? cd->alt_hdrs : nullptr; alt && *alt; ++alt)
        text.append(text.empty() ? "" : ",").append(*alt);
    return writeText(txt, text.c_str());
}

char* getDescString(char* txt, void* row, int lbl) {
    ColumnData* cd = columnAt(row, lbl);
    return writeText(txt, cd ? cd->description : "");
}

char* getPPString(char* txt, void* row, int lbl) {
    ColumnData* cd = columnAt(row, lbl);
    return writeText(txt, cd ? toYN(cd->printPref) : "");
}

char* getBlankSpaceString(char* txt, void* row, int lbl) {
    ColumnData* cd = columnAt(row, lbl);
    return cd ? txt + std::sprintf(txt, "%d", cd->space) : writeText(txt, "");
}

char* getAdjustmentString(char* txt, void* row, int lbl) {
    ColumnData* cd = columnAt(row, lbl);
    return cd ? sprintc(txt, cd->adjust) : writeText(txt, "");
}
