// Every form (and frame) of the program as the program holds it: each description
// compiled into kova.exe is read strictly (a property the component does not
// have, a field or a handler that binds to nothing fails) by a root of its
// class made in this process from the same text. A description added to the
// program without a maker below fails the test, and so does a maker whose
// form lost its description: no form is left out.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <exception>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/portable/formtext.h"
#include "mainwindow/dialogs/smalldialogs.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/editors/autoplace/createnewconfig.h"
#include "mainwindow/editors/pokerroom/exportpokerroomform.h"
#include "mainwindow/mainform/main.h"
#include "pushfold/forms/calcform.h"
#include "pushfold/forms/modelform.h"
#include "tables/overlays/frameform.h"
#include "tables/overlays/hudtable.h"

namespace {

using namespace kova;
using namespace kova::test;

struct Description {
  std::string name;  // the resource name: the class name in upper case
  std::string text;
};

BOOL CALLBACK CollectDescription(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR list) {
  if (IS_INTRESOURCE(name)) return TRUE;
  HRSRC res = FindResourceA(module, name, type);
  HGLOBAL data = res ? LoadResource(module, res) : nullptr;
  const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
  if (!bytes) return TRUE;
  std::string text(bytes, SizeofResource(module, res));
  const size_t start = text.find_first_not_of(" \t\r\n");
  if (start != std::string::npos && text.compare(start, 7, "object ") == 0)
    reinterpret_cast<std::vector<Description>*>(list)->push_back({name, text});
  return TRUE;
}

// The RCDATA resources of a program that are form descriptions.
std::vector<Description> FormDescriptionsOf(const std::string& program) {
  std::vector<Description> list;
  HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return list;
  EnumResourceNamesA(module, RT_RCDATA, CollectDescription, reinterpret_cast<LONG_PTR>(&list));
  FreeLibrary(module);
  return list;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

struct Maker {
  const char* className;
  std::function<TComponent*()> make;
};

// The forms (and the frames) as the program makes them.
const std::vector<Maker>& Makers() {
  static const std::vector<Maker> makers = {
      {"TKOVAForm1", [] { return TCustomForm::Create<mainwindow::TKOVAForm1>(Application()); }},
      {"TAdvAutoReg", [] { return TCustomForm::Create<mainwindow::TAdvAutoReg>(Application()); }},
      {"TTOISettings", [] { return TCustomForm::Create<mainwindow::TTOISettings>(Application()); }},
      {"TTGrabberForm", [] { return TCustomForm::Create<mainwindow::TTGrabberForm>(Application()); }},
      {"TWindowCapture", [] { return TCustomForm::Create<mainwindow::TWindowCapture>(Application()); }},
      {"TCreateNewConfig", [] { return TCustomForm::Create<mainwindow::TCreateNewConfig>(Application()); }},
      {"TExportPokerRoomForm", [] { return TCustomForm::Create<mainwindow::TExportPokerRoomForm>(Application()); }},
      {"TAddWindowTitle", [] { return TCustomForm::Create<mainwindow::TAddWindowTitle>(Application()); }},
      {"TAboutWindow", [] { return TCustomForm::Create<mainwindow::TAboutWindow>(Application()); }},
      {"THUDTable", [] { return TCustomForm::Create<tables::THUDTable>(nullptr); }},
      {"TFrameForm", [] { return TCustomForm::Create<tables::TFrameForm>(nullptr); }},
      {"TForm2", [] { return TCustomForm::Create<pushfold::forms::TForm2>(nullptr); }},
      {"TModelDialog", [] { return TCustomForm::Create<pushfold::forms::TModelDialog>(nullptr); }},
      {"TNewModelDialog", [] { return TCustomForm::Create<pushfold::forms::TNewModelDialog>(nullptr); }},
      {"TFrame1", [] { return TCustomFrame::Create<pushfold::forms::TFrame1>(nullptr, 1); }},
  };
  return makers;
}

// Strict reading and a scratch data folder for the main form, while alive.
struct StrictForms {
  StrictForms() {
    SetDefaultFormReadMode(TFormReadMode::Strict);
    mainwindow::TKOVAForm1::DataFolderOverride = TempDir();
  }
  ~StrictForms() {
    SetDefaultFormReadMode(TFormReadMode::Lenient);
    mainwindow::TKOVAForm1::DataFolderOverride.clear();
  }
};

TEST(ProgramForms, EveryFormInTheProgramReadsItsDescriptionStrictly) {
  RegisterFrameworkClasses();
  const std::string program = ExeDir() + "\\kova.exe";
  const std::vector<Description> descriptions = FormDescriptionsOf(program);
  ASSERT_FALSE(descriptions.empty()) << "no form description found in " << program;

  StrictForms strict;
  std::set<std::string> described;
  for (const Description& d : descriptions) {
    SCOPED_TRACE(d.name);
    described.insert(d.name);
    const Maker* maker = nullptr;
    for (const Maker& m : Makers())
      if (Upper(m.className) == d.name) maker = &m;
    if (!maker) {
      ADD_FAILURE() << "kova.exe holds a description of " << d.name << ", but no maker of that form is listed here";
      continue;
    }
    TComponent* form = nullptr;
    try {
      form = maker->make();
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
      continue;
    }
    EXPECT_EQ(form->ClassName(), maker->className);
    // What was read here is what the program ships.
    EXPECT_EQ(ClassDescription(form->ClassName()), d.text);
    form->Free();
  }
  for (const Maker& m : Makers())
    EXPECT_EQ(described.count(Upper(m.className)), 1u) << m.className << " has no description in kova.exe";
}

}  // namespace
