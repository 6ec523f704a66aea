' Legacy helper for the order form.
' Rounds a price to the nearest ten yen.

Function RoundToTen(price)
    Dim rest
    rest = price Mod 10          ' what is left over
    If rest >= 5 Then
        RoundToTen = price + (10 - rest)
    Else
        RoundToTen = price - rest
    End If
End Function

REM The message keeps its apostrophe: "Today's tea"
MsgBox "Today's tea: " & RoundToTen(447)
