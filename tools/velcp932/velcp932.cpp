// velcp932: writes a copy of a C++ source file whose string and character
// literals holding non-ASCII UTF-8 text are rewritten as code page 932
// escapes. Compilers without a code page 932 execution character set build
// the copies; a #line directive keeps diagnostics and stack traces pointing
// at the original.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "LiteralRewrite.h"

namespace {

// The path as a string literal of a #line directive.
std::string QuotedPath(const std::string& path) {
    std::string out = "\"";
    for (char c : path) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: velcp932 SOURCE COPY\n", stderr);
        return 2;
    }
    const std::string input = argv[1];
    const std::string output = argv[2];
    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "velcp932: cannot read %s\n", input.c_str());
        return 2;
    }
    const std::string source{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const velcp932::RewriteResult result = velcp932::RewriteLiterals(source);
    if (!result.ok) {
        std::fprintf(stderr, "%s: %s\n", input.c_str(), result.error.c_str());
        return 1;
    }

    std::error_code ignored;
    const std::filesystem::path target(output);
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ignored);
    }
    // Written beside the target and moved over it, so that a failed run
    // leaves no half-written copy for the build to trust.
    const std::string temporary = output + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        const std::string absolute = std::filesystem::absolute(input).lexically_normal().string();
        out << "#line 1 " << QuotedPath(absolute) << "\n" << result.text;
        if (!out) {
            std::fprintf(stderr, "velcp932: cannot write %s\n", temporary.c_str());
            return 2;
        }
    }
    std::filesystem::rename(temporary, output, ignored);
    if (ignored) {
        std::fprintf(stderr, "velcp932: cannot write %s\n", output.c_str());
        return 2;
    }
    return 0;
}
