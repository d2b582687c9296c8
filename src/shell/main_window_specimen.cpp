// The specimen dialog of each test type, from the test start and from "&Probendaten".
#include "shell/main_window.h"

#include "evaluation/test_state.h"
#include "specimen/screw_specimen_dialog.h"
#include "specimen/specimen_dialog.h"
#include "specimen/type_specimen_dialog.h"
#include "run/app_state.h"

namespace quorvex {

bool TSDIAppForm::ExecSpecimenDialogOfType(bool forStart, long long counter, bool& reevaluate) {
    const int type = test_.Parameters.TestType;
    const SpecimenDialogMachine services = SpecimenDialogServices();
    bool confirmed = false;
    // A start with automatic numbering shows the number the test will receive.
    const long long numberingCounter =
        forStart && test_.Parameters.AutoSpecimenNo != 0 ? counter : -1;
    if (type == 0 || type == 6) {
        specimenDlg_->SetMachine(services);
        specimenDlg_->NumberingCounter = numberingCounter;
        // The metal tensile test starts from the dialog (with its automatic start); the
        // plastics test and the menu confirm it plainly.
        confirmed = forStart && type == 0 ? specimenDlg_->ExecuteForStart(counter)
                                          : specimenDlg_->ExecutePlain(counter);
        reevaluate = specimenDlg_->ConfirmedForReevaluation();
    } else if (type == 1 || type == 2) {
        TProbenDatenDlg dialog(ui_, type, test_.Parameters, app_.ScrewTable, test_.Current(),
                               this);
        dialog.SetMachine(services);
        dialog.NumberingCounter = numberingCounter;
        confirmed = dialog.exec() == QDialog::Accepted;
        reevaluate = dialog.ConfirmedForReevaluation();
    } else if (HasTypeSpecimenDialog(type)) {
        TTypeSpecimenDlg dialog(ui_, type, test_.Parameters, test_.Current(), this);
        dialog.SetMachine(services);
        dialog.NumberingCounter = numberingCounter;
        confirmed = dialog.exec() == QDialog::Accepted;
        reevaluate = dialog.ConfirmedForReevaluation();
    }
    return confirmed;
}

void TSDIAppForm::SpecimenDataCommand() {
    bool reevaluate = false;
    bool confirmed = false;
    {
        // The specimen dialog drives the machine (start position, sensor arms, its F8 and
        // closing stop): the window holds it meanwhile.
        auto access = MachineAccess();
        confirmed = ExecSpecimenDialogOfType(false, 0, reevaluate);
    }
    // The last test is evaluated again with the new specimen and shown anew.
    if (confirmed || reevaluate) {
        FillResultPanels();
        diagram_->Redraw();
    }
}

}  // namespace quorvex
