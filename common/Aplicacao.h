#pragma once

#include <QApplication>

// The application object. Every exception that an event handler lets out
// ends here instead of ending the program: the silent abort is dropped,
// anything else goes to the application-wide handler (TratarExcecao) with
// the receiver of the event as the sender.
class Aplicacao : public QApplication {
    Q_OBJECT
public:
    Aplicacao(int& argc, char** argv);
    bool notify(QObject* receptor, QEvent* evento) override;
};
