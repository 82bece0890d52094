// Output file names of the current theory, the boundary-range tag they end with, and the stand-in
// for the supersymmetric-search flag.
#include "modular/ModularFileNames.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/SystemUtility.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <cstdio>
#include <string>

namespace {

std::string BoundaryLimitString;
int SusySearch = 1;

// Each function's two results: the name, and the "/tmp" name that replaces it.
struct NameBuffers {
    std::string name;
    std::string fallback;
};
NameBuffers plainNames;
NameBuffers extensionNames;

// A text parameter's value moves when it grows, so it is looked up at each call.
std::string outputFilePrefix() {
    const char* prefix = static_cast<const char*>(getIntParPointer("OutputFilePrefix"));
    return prefix ? prefix : "N";
}

// Steps 1 and 2: the output directory, ending in "/", and the prefix with what follows it. True
// when the prefix holds a "/", which leaves out the theory part.
bool appendDirectoryAndPrefix(std::string& name) {
    name = getOutputDir();
    if (name.empty() || name.back() != '/')
        name += '/';
    const std::string prefix = outputFilePrefix();
    name += prefix;
    if (prefix.size() == 1)
        name += '_';
    if (prefix.find('/') != std::string::npos)
        return true;
    if (prefix.size() > 1)
        name += '/';
    return false;
}

// Step 3: "Tensor" or "Algebra" with the theory name, then the extension or the supersymmetry
// part.
void appendTheoryPart(std::string& name) {
    if (getCosetMode() == 1) {
        name += "Tensor";
        name += getCurrentTensorFileName("", "", "");
        const int extension = getExtensionNumber(getCurrentTensor());
        if (extension != -1) {
            name += "/Ext" + std::to_string(extension);
            return;
        }
    } else {
        name += "Algebra";
        if (SpectrumData* sd = getCurrentSD())
            name += SM_getCurrentAlgebraFileName(sd, "", "", "");
    }
    name += getSusySearch() == 1 ? "/Susy_MIPF_" : "/NonSusy_MIPF_";
}

// Step 5: at least three digits, one more while more than 999 invariants are stored.
std::string invariantNumber() {
    const int width = TotalInvariants() > 999 ? 4 : 3;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%0*d", width, MIPFIdentifier(*getCurrentBulk()));
    return digits;
}

// A directory that cannot be made since some part of its path is a plain file; asking CreateDir
// would add an alert of its own before the one of the fallback.
bool blockedByFile(const std::string& directory) {
    const std::string path = getFullPath(directory.c_str(), nullptr);
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        if (checkDir(path.substr(0, end).c_str()) == 1)
            return true;
        if (end == std::string::npos)
            return false;
    }
}

// The alert has severity 3, which ends a background run before the fallback it announces: there
// nobody is asked, so the text goes to the error output and the run goes on (as getFile does).
void reportFallback(const std::string& name, const std::string& directory) {
    const std::string text =
        "Cannot write file " + name + " to directory " + directory + "; writing to /tmp instead";
    if (getBackground())
        printErrorMessage("%s\n", text.c_str());
    else
        Alert("getCurrentOutputFileName", 0, 120306, "%s", text.c_str());
}

// Steps 7 and 8: the directory part is made; when it does not exist after that, "/tmp/" and the
// last component of the name.
char* placeName(NameBuffers& buffers) {
    const std::string& name = buffers.name;
    const std::size_t slash = name.rfind('/');
    const std::string directory = slash == std::string::npos ? "./" : name.substr(0, slash + 1);
    if (!blockedByFile(directory))
        CreateDir(directory.c_str());
    if (checkDir(directory.c_str()) == 0)
        return buffers.name.data();
    reportFallback(name, directory);
    buffers.fallback = "/tmp/" + (slash == std::string::npos ? name : name.substr(slash + 1));
    return buffers.fallback.data();
}

} // namespace

char* getCurrentOutputFileName(const char* postfix) {
    std::string& name = plainNames.name;
    if (!appendDirectoryAndPrefix(name))
        appendTheoryPart(name);
    name += '_';
    name += invariantNumber();
    name += BoundaryLimitString;
    name += postfix ? postfix : "";
    return placeName(plainNames);
}

char* getCurrentOutputFileNameForExtension(const char* postfix) {
    std::string& name = extensionNames.name;
    if (!appendDirectoryAndPrefix(name))
        appendTheoryPart(name);
    name += BoundaryLimitString;
    name += postfix ? postfix : "";
    return placeName(extensionNames);
}

void setBoundaryLimitString(int a, int b) {
    if (a == -1) {
        BoundaryLimitString.clear();
        return;
    }
    // Formatted, not concatenated: GCC 12 warns wrongly about "[" + std::to_string(a).
    char tag[32];
    std::snprintf(tag, sizeof tag, "[%d:%d]", a, b);
    BoundaryLimitString = tag;
}

const char* getBoundaryLimitString() {
    return BoundaryLimitString.c_str();
}

int getSusySearch() {
    return SusySearch;
}

void setSusySearch(int value) {
    SusySearch = value;
}
