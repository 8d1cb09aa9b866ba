#include "WyrdanPluginUtilities/commands/CmdInvoker.h"

#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "kyr/appfw/ZolIGuiExecutive.h"
#include "zol/kernel/ZolCast.h"
#include "zol/kernel/ZolException.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using appfw::CmdOptions;
using appfw::ServiceCacheAppFrame;

const char* const kPluginContext = "KYR.WyrdanPlugin";
const char* const kWorkThreadCommandRequest = "KYR.WyrdanPlugin.WorkThreadCommandRequest";

Zol::ZolResult_24_8 failure() { return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure); }

Zol::ZolResult_24_8 commandNotExist() {
  Zol::ZolResult_24_8 result = failure();
  result.addParam("Command not exist.");
  return result;
}

// Asks the command processor for the command of (context, commandName) and
// gives it the processor's default options after `adjust` has changed them.
// Empty when there is no processor or it makes no such command.
template <class Adjust>
ZolSmartPointer<appfw::ICmdCommandInterface> createCommand(std::string const& commandName, std::string const& context,
                                                           Adjust adjust) {
  ZolSmartPointer<appfw::ICmdCommandInterface> command;
  ZolSmartPointer<appfw::ICmdProcessorInterface> processor = ServiceCacheAppFrame::commandProcessor_;
  if (!processor) return command;

  const appfw::CmdIdentity identity{context, commandName, Zol::ZolIService()};
  processor->createCommand(identity, command);
  if (command) {
    CmdOptions options;
    processor->getDefaultOptions(identity, options);
    adjust(options);
    command->setOptions(options);
  }
  return command;
}

}  // namespace

CmdInvoker::CmdInvoker() = default;

CmdInvoker::CmdInvoker(std::string const& commandName, std::string const& context)
    : m_command(createCommand(commandName, context, [](CmdOptions&) {})) {}

CmdInvoker::CmdInvoker(std::string const& commandName, bool option3, bool option1, std::string const& context) {
  try {
    m_command = createCommand(commandName, context, [option3, option1](CmdOptions& options) {
      options.flags[3] = option3;
      options.flags[1] = option1;
      if (option3) options.flags[13] = false;
    });
  } catch (const Zol::ZolUserException_24&) {
    // A command the host refuses to create is an absent command; the
    // half-made one was released on the way out.
  }
}

CmdInvoker::CmdInvoker(std::string const& commandName, bool option3, bool option1, bool option13,
                       std::string const& context)
    : m_command(createCommand(commandName, context, [option3, option1, option13](CmdOptions& options) {
        options.flags[3] = option3;
        options.flags[1] = option1;
        options.flags[13] = option13;
      })) {}

CmdInvoker::CmdInvoker(CmdInvoker const& other) = default;

CmdInvoker& CmdInvoker::operator=(CmdInvoker const& other) {
  if (this != &other) {
    m_command.reset();
    m_command = other.m_command;
  }
  return *this;
}

CmdInvoker::~CmdInvoker() = default;

Zol::ZolResult_24_8 CmdInvoker::invoke(appfw::CmdParameters const& params) {
  if (!m_command) return commandNotExist();
  // The command's own answer is not ours to judge: success means it ran.
  m_command->execute(params);
  return Zol::ZolResult_24_8();
}

Zol::ZolResult_24_8 CmdInvoker::invoke(DataBunch const& params) { return invoke(params.toCmdParams()); }

Zol::ZolResult_24_8 CmdInvoker::invokeSync(DataBunch const& params) {
  if (m_command) {
    CmdOptions options;
    m_command->getOptions(options);
    options.flags[0] = true;
    options.flags[4] = true;
    m_command->setOptions(options);
  }
  return invoke(params);
}

Zol::ZolResult_24_8 CmdInvoker::invokeAsync(DataBunch const& params) {
  if (!m_command) return failure();

  DataBunch payload;
  payload.setData("command", m_command);
  payload.setData("param", params.toZolAny());

  auto guiExecutive = Zol::interfaceCastOrThrow<appfw::ZolIGuiExecutiveInterface>(ServiceHelper::getGuiExeutive());
  if (!guiExecutive) return failure();
  // The command's results are read from the command itself, not from the
  // action's answer.
  guiExecutive->runGuiAction(kWorkThreadCommandRequest, payload.toZolAny());
  return Zol::ZolResult_24_8();
}

DataBunch CmdInvoker::getOutputParams() {
  if (!m_command) return DataBunch();
  appfw::CmdParameters params;
  m_command->getOutputParameters(params);
  return DataBunch(params);
}

Zol::ZolAny_24_8 CmdInvoker::getReturnValue() const {
  Zol::ZolAny_24_8 value;
  if (m_command) m_command->getReturnValue(value);
  return value;
}

ZolSmartPointer<appfw::IURCommandInterface> CmdInvoker::getURCommand() {
  ZolSmartPointer<appfw::IURCommandInterface> command;
  if (m_command) m_command->getURCommand(command);
  return command;
}

appfw::CmdInvocationRequest CmdInvoker::getInvocationRequest(std::string const& commandName,
                                                             appfw::CmdParameters const& params) {
  appfw::CmdInvocationRequest request;
  request.context = kPluginContext;
  request.commandName = commandName;

  ZolSmartPointer<appfw::ICmdProcessorInterface> processor = ServiceCacheAppFrame::commandProcessor_;
  if (processor) {
    const appfw::CmdIdentity identity{request.context, commandName, Zol::ZolIService()};
    processor->getDefaultOptions(identity, request.options);
    request.parameters = params;  // shares the list's storage
  }
  return request;
}

}  // namespace kyr::orla::plugin::wyrdan
