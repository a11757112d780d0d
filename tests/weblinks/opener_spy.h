// Records the addresses handed to the browser instead of opening them.
#pragma once

#include "weblinks/web_page.h"

#include <QStringList>

class OpenerSpy {
public:
    OpenerSpy() {
        augurlex::SetWebPageOpenerForTesting([this](const QString& a) { opened.append(a); });
    }
    ~OpenerSpy() { augurlex::SetWebPageOpenerForTesting({}); }
    OpenerSpy(const OpenerSpy&) = delete;
    OpenerSpy& operator=(const OpenerSpy&) = delete;

    QStringList opened;
};
