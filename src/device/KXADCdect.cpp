#include "device/KXADCdect.h"

KXADCdect::KXADCdect(TQlsComm32& comm, ui::Component* mainWindow) : VUniModule(comm, mainWindow) {}

KXADCdect::~KXADCdect() = default;
