#include "icmd/scan/zorpaCreateParser.h"

#include "imodel/design/ImodelModule.h"
#include "src/icmd/scan/zorpaSchematicParser.h"
#include "src/icmd/scan/zorpaVHDLParser.h"
#include "src/icmd/scan/zorpaVerilogParser.h"

#include <boost/make_shared.hpp>

template <class T>
void zorpaCreateParser<T>::VisitVHDL()
{
    m_parser = boost::make_shared<zorpaVHDLParser<T>>(m_prototype, m_nullModule);
}

template <class T>
void zorpaCreateParser<T>::VisitVerilog()
{
    m_parser = boost::make_shared<zorpaVerilogParser<T>>(m_prototype, m_nullModule);
}

template <class T>
void zorpaCreateParser<T>::VisitSchematic()
{
    m_parser = boost::make_shared<zorpaSchematicParser<T>>(m_prototype, m_nullModule);
}

template class zorpaCreateParser<ImodelModule*>;
