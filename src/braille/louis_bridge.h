// liblouis bridge: liblouis as a Translator (translator.h), with the table the
// catalogue chooses for the language and grade, laid out into braille lines by
// the SDK's word layout; and the names init, de-init and the tests use.
#pragma once

#include <string>

#include "braille/louis_call.h"
#include "braille/translator.h"

namespace velumi {

// 0, 4 (library missing) or 5 (no lou_translate). Sets LOUIS_TABLEPATH and
// sets the grade back to contracted.
int LoadLiblouisLibrary(int lineWidth, int language);
int FreeLouisLibrary();
bool LouisBound();
int LouisGrade();

// Tests: the library to load instead of liblouis.so.20.
void SetLouisLibraryName(const std::string &name);
const std::string &LouisLibraryName();

// What both liblouis translators share: the table list, the text handed over,
// the cells read back and laid out. Subclasses make the call itself.
class LouisTranslatorBase : public Translator {
public:
    const char *Name() const override { return "LIBLOUIS"; }
    int Translate(std::u16string_view text, const TranslationRequest &request, Translation &out) override;

protected:
    // One lou_translate: 0, or an error code (already traced).
    virtual int Call(const std::string &tableList, const std::u32string &in, std::u32string &out, int capacity) = 0;
};

// liblouis in this process, under the shared lock.
class InProcessLouis : public LouisTranslatorBase {
public:
    int Bind() override;
    void Unbind() override;
    bool Bound() const override { return call_.IsOpen(); }

protected:
    int Call(const std::string &tableList, const std::u32string &in, std::u32string &out, int capacity) override;

private:
    LouisCall call_;
};

// liblouis in a helper process (velumi-louis-helper), kept between calls, with a
// deadline on every call: a call that liblouis never finishes, or that crashes
// it, returns VELUMI_ERROR_BRAILLE_NOT_TRANSLATE with a trace line, the helper
// is killed, and the next call starts a fresh one. Without the helper program
// liblouis runs in this process (traced once). The braille line's liblouis
// translator (LouisTranslator) is this one.
class IsolatedLouis : public InProcessLouis {
public:
    void Unbind() override;

protected:
    int Call(const std::string &tableList, const std::u32string &in, std::u32string &out, int capacity) override;
};

// The default deadline of one liblouis call in the helper process.
constexpr int kLouisDeadlineMs = 5000;

// Tests and tools: the helper program to start (empty: the usual search), the
// deadline of one call, and the helper's process id (-1 when none runs).
void SetLouisHelperPath(const std::string &path);
void SetLouisDeadlineMs(int ms);
int LouisHelperPid();

}  // namespace velumi
