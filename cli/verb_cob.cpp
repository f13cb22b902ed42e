#include <ostream>

#include "app/file_io.h"
#include "app/file_reader.h"
#include "cli/compile_support.h"
#include "cli/verbs.h"
#include "objects/cob_compiler.h"
#include "objects/cob_data.h"
#include "objects/discompiler.h"
#include "objects/source_picture.h"

namespace vek::cli {

namespace {

constexpr std::string_view kCobUsage =
    "usage: vek cob compile IN.cos OUT.cob [--game-dir DIR]\n"
    "       vek cob discompile IN.cob [-o OUT.cos]\n"
    "       vek cob info IN.cob\n"
    "compile     compiles an object source as the COB-Compiler does and saves the object file;\n"
    "            a \"sprite\" line reads its sprite file from the game's image directory\n"
    "            (--game-dir names the game here as before the verb)\n"
    "            and a \"picture\" line reads its one-sprite file from beside the source\n"
    "discompile  turns an object file back into source: to standard output, or with -o into a\n"
    "            .COS file (ANSI text, CR LF) with the picture beside it as a one-sprite file\n"
    "            that its \"picture\" line names\n"
    "info        the object file's header values, counts, picture size and name\n";

int runCompile(Invocation& invocation, const ArgumentList& args) {
    args.expectPositional(3, 3);
    takeGameDirOption(invocation, args);
    const std::filesystem::path source = pathFromUtf8(args.positional()[1]);
    refuseOutputOverInput(source, pathFromUtf8(args.positional()[2]));
    const std::vector<std::string> lines = readSourceFile(source);
    refuseNonSourceText(readFileText(source, kMaxSourceFileSize), source);
    const CompiledObject result =
        readingFile(source, [&] { return compileWithGameSprites(invocation, lines, source); });
    if (result.cob.scripts.empty() && result.cob.imports.empty()) {
        invocation.err << "vek: warning: " << args.positional()[1]
                       << " holds no scripts and no installation routines\n";
    }
    writeCobFile(pathFromUtf8(args.positional()[2]), result.cob);
    reportStream(invocation, args.positional()[2])
        << args.positional()[2] << ": " << result.cob.scripts.size() << " scripts, "
        << result.cob.imports.size() << " imports, picture " << result.cob.pictureWidth << " x "
        << result.cob.pictureHeight << ", name " << result.cob.name << "\n";
    return kSuccess;
}

// The picture a discompiled source names, written beside it.
void writeSourcePicture(Invocation& invocation, const std::filesystem::path& input,
                        const std::filesystem::path& source, const SourcePicture& picture) {
    const std::filesystem::path file = folderOfSource(source) / picture.fileName;
    refuseOutputOverInput(input, file);
    writePictureFile(file, picture.image);
    invocation.lines() << pathToUtf8(file) << ": picture " << picture.image.width << " x "
                       << picture.image.height << "\n";
}

int runDiscompile(Invocation& invocation, const ArgumentList& args) {
    args.expectPositional(2, 2);
    const std::string& input = args.positional()[1];
    const auto output = args.option("-o");
    if (output) refuseOutputOverInput(pathFromUtf8(input), pathFromUtf8(*output));
    const CobData cob = readCobFile(pathFromUtf8(input));
    const std::vector<std::string> lines = discompile(cob, fieldsOf(cob), fileNamePart(input));
    const std::optional<SourcePicture> picture =
        sourcePictureOf(cob, fileNamePart(input), fieldsOf(cob).name);
    if (const std::size_t dropped = countDroppedByCompiling(cob))
        invocation.err << "vek: warning: " << dropped
                       << " script(s) do not begin with \"scrp\" or \"inst\"; compiling the "
                          "source drops them\n";
    if (output) {
        writeSourceFile(pathFromUtf8(*output), lines);
    } else {
        for (const std::string& line : lines) invocation.out << line << "\n";
    }
    if (picture && output && !isStandardStream(pathFromUtf8(*output))) {
        writeSourcePicture(invocation, pathFromUtf8(input), pathFromUtf8(*output), *picture);
    } else if (picture) {
        invocation.err << "vek: warning: the picture is not written to standard output; with -o "
                          "OUT.cos it is written beside the source as "
                       << picture->fileName << "\n";
    }
    return kSuccess;
}

int runInfo(Invocation& invocation, const ArgumentList& args) {
    args.expectPositional(2, 2);
    const CobData cob = readCobFile(pathFromUtf8(args.positional()[1]));
    std::ostream& out = invocation.lines();
    out << "items: " << cob.items << "\n"
        << "quantity: " << cob.quantity << "\n"
        << "month: " << cob.timelimitMonth << "\n"
        << "day: " << cob.timelimitDay << "\n"
        << "year: " << cob.timelimitYear << "\n"
        << "used: " << cob.used << "\n"
        << "scripts: " << cob.scripts.size() << "\n"
        << "imports: " << cob.imports.size() << "\n"
        << "picture: " << cob.pictureWidth << " x " << cob.pictureHeight << "\n"
        << "width copy: " << cob.pictureWidthCopy << "\n"
        << "name: " << cob.name << "\n";
    return kSuccess;
}

int runCob(Invocation& invocation) {
    const ArgumentList args(invocation.args, {"-o", "--game-dir"});
    if (args.positional().empty())
        throw UsageError{"missing the command: compile, discompile or info"};
    const std::string& command = args.positional()[0];
    if (command == "compile") return runCompile(invocation, args);
    if (command == "discompile") return runDiscompile(invocation, args);
    if (command == "info") return runInfo(invocation, args);
    throw UsageError{"unknown command " + command};
}

}  // namespace

Verb cobVerb() {
    return {"cob", "compile, discompile and describe object files", kCobUsage, runCob};
}

}  // namespace vek::cli
