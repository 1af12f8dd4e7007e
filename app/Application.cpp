#include "app/Application.h"

#include "ui/Icons.h"
#include "ui/MainForm.h"
#include "ui/data.h"
#include "ui/debug.h"
#include "ui/such.h"
#include "ui/trig.h"

std::unique_ptr<TForm1> createWindows(AppContext& context) {
    auto form1 = std::make_unique<TForm1>(context);
    form1->Form3 = new TForm3(context.ui, form1.get());
    form1->Form4 = new TForm4(form1->Limits, form1.get());
    form1->Form4->setWindowIcon(icons::image(10));
    form1->Form5 = new TForm5(form1.get());
    form1->Form6 =
        new TForm6(form1->Unit(), context.clock, context.ui, form1->ServiceHandle, form1.get());
    return form1;
}
