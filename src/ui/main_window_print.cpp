// The main window's print command: the model sheet's three pages, one print job each.
#include "engine/renderer.h"
#include "platform/error_report.h"
#include "ui/display_window.h"
#include "ui/main_window.h"
#include "ui/print_form.h"
#include "widgets/qt_page_printer.h"

namespace morv {

void TForm1::BitBtn3Click() {
  RunReported(prompts_, [&] {
    // A render worker may still be drawing the picture and counting its points.
    FinishRendering();
    PrintForm->FillHeader(MakePrintHeader(CurrentModel, Display->MainView->Canvas().Snapshot(),
                                          PointCount, PolygonCount, Display->Label4->text()));
    QtPagePrinter defaultPrinter;
    PagePrinter& printer = pagePrinter_ != nullptr ? *pagePrinter_ : defaultPrinter;
    // A failing job ends the command; the pages after it are not printed.
    for (int page = 1; page <= SheetPageCount; ++page) {
      printer.PrintPage(PrintForm->DrawPage(CurrentModel, page));
    }
  });
}

}  // namespace morv
