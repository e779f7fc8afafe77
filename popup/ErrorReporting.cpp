#include "ErrorReporting.h"

#include "ErrorBox.h"
#include "UPMComm.h"

void reportErrorsInBoxes()
{
    SetErrorPresenter(showErrorBoxOverActiveWindow);
}
